#include "FormFont.h"

#include <QStringList>

#include "FormDesign.h"

QFont FormFont()
{
    // fontconfig would hand SimSun's Latin letters to a Western serif; naming
    // the stand-in keeps Latin and Chinese text in one Song face. Adding the
    // same substitutes again changes nothing.
    QFont::insertSubstitutions("SimSun", {"AR PL UMing CN", "AR PL UMing TW"});
    QFont font("SimSun");
    font.setPixelSize(FormDesign::kFontPixelHeight);
    return font;
}
