#include "FormFont.h"

#include <cwchar>

#include "Dpi.h"
#include "FormDesign.h"
#include "Win32Text.h"

UniqueFont CreateFormFont(UINT dpi)
{
    LOGFONTW font{};
    // Negative: the height of the characters themselves, without leading.
    font.lfHeight = -Scale(FormDesign::kFontPixelHeight, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = Widen(FormDesign::kFontFace);
    std::wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&font));
}
