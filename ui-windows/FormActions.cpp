#include "FormActions.h"

#include "FormDesign.h"
#include "ResourceIds.h"
#include "Win32Text.h"

TAction CreateActionYes(std::function<void()> onExecute)
{
    return {Widen(FormDesign::kActionYesCaption), IDI_TICK_GLYPH, std::move(onExecute)};
}

TAction CreateActionCancel(std::function<void()> onExecute)
{
    return {Widen(FormDesign::kActionCancelCaption), IDI_POWER_GLYPH, std::move(onExecute)};
}
