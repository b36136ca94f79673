// SPDX-License-Identifier: MIT
#include "window_win32/window_font.h"

#include <cmath>

#include "form/caption_fit.h"
#include "platform/wide_text_win.h"
#include "window_win32/dpi_scale.h"

namespace rv::win32 {

namespace {

constexpr const wchar_t* kTrueTypeFace = L"Microsoft Sans Serif";
constexpr const wchar_t* kLayoutFace = L"MS Sans Serif";

// The room a control leaves its caption on each side, in twips: a button's edges and focus
// frame, a group box's indent of its title and its right edge.
constexpr int kButtonInset = 60;
constexpr int kFrameInset = 120;

int CALLBACK NoteScalable(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM found) {
    *reinterpret_cast<int*>(found) |= (type & RASTER_FONTTYPE) == 0 ? 2 : 1;
    return 1;
}

// 0 where the system has no face of the name, 1 for a bitmap face, 2 or 3 for a scalable one.
int FaceKind(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    int found = 0;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, &NoteScalable, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Measures with GetTextExtentPoint32W in the window's font at each size, against the control's
// width at the dpi less the room its kind leaves.
class Win32CaptionMeasure final : public CaptionMeasure {
public:
    explicit Win32CaptionMeasure(UINT dpi) : dpi_(dpi), dc_(CreateCompatibleDC(nullptr)) {}
    ~Win32CaptionMeasure() override {
        SelectObject(dc_, GetStockObject(SYSTEM_FONT));
        DeleteDC(dc_);
    }
    Win32CaptionMeasure(const Win32CaptionMeasure&) = delete;
    Win32CaptionMeasure& operator=(const Win32CaptionMeasure&) = delete;

    void UseSize(double point_size) override {
        OwnedFont font = CreateWindowFont(dpi_, point_size);
        SelectObject(dc_, font.get());
        font_ = std::move(font);
    }
    bool Fits(const FixedCaption& caption) override {
        const std::wstring text = platform::WideFromUtf8(caption.text).value_or(L"");
        SIZE extent{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &extent);
        const int inset = caption.kind == ControlKind::Button  ? kButtonInset
                          : caption.kind == ControlKind::Frame ? kFrameInset
                                                               : 0;
        return extent.cx <= PixelsFromTwips(caption.rect.width - 2 * inset, dpi_);
    }

private:
    UINT dpi_;
    HDC dc_;
    OwnedFont font_;
};

}  // namespace

std::wstring WindowFace() {
    static const std::wstring face =
        FaceKind(kTrueTypeFace) == 0 && FaceKind(kLayoutFace) >= 2 ? kLayoutFace : kTrueTypeFace;
    return face;
}

OwnedFont CreateWindowFont(UINT dpi, double point_size) {
    // A point is 1/72 inch; a negative height asks for the character height.
    const int height = -static_cast<int>(std::lround(point_size * dpi / 72.0));
    return OwnedFont(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, WindowFace().c_str()));
}

OwnedFont CreateFittingFont(UINT dpi) {
    Win32CaptionMeasure measure(dpi);
    return CreateWindowFont(dpi, FittingPointSize(measure));
}

}  // namespace rv::win32
