#pragma once

#include <QRect>

#include "FormDesign.h"

// A component's designed bounds as a Qt rectangle.
inline QRect DesignRect(const FormDesign::Bounds& bounds)
{
    return {bounds.left, bounds.top, bounds.width, bounds.height};
}
