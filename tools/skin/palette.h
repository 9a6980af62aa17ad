#pragma once
// Every colour of the skin in one place: charcoal panels, light glyphs and one sky-blue accent.
// Changing the look starts here.
#include <QColor>

namespace dvr::skin {

// The window: its outer line, title bar, picture surround and control panel.
inline const QColor kOutline{0x0b, 0x0d, 0x10};
inline const QColor kTitleTop{0x30, 0x35, 0x3e};
inline const QColor kTitleBottom{0x25, 0x29, 0x30};
inline const QColor kPanelTop{0x27, 0x2b, 0x32};
inline const QColor kPanelBottom{0x1b, 0x1e, 0x23};
inline const QColor kSideFrame{0x22, 0x26, 0x2c};
inline const QColor kHairlineDark{0x10, 0x12, 0x16};
inline const QColor kHighlight{255, 255, 255, 20};  // 1-px light edges over any panel
inline const QColor kTitleHighlight{255, 255, 255, 26};
inline const QColor kShadow{0, 0, 0, 110};    // 1-px dark edges under raised parts
inline const QColor kWell{0x04, 0x05, 0x06};  // the recessed display behind the status line
inline const QColor kPicture{0, 0, 0};

// Button faces: the top and bottom of their gradient and their 1-pixel rim, by frame.
inline const QColor kFaceTop{0x3c, 0x42, 0x4d};
inline const QColor kFaceBottom{0x2c, 0x31, 0x39};
inline const QColor kFacePressedTop{0x1a, 0x1d, 0x22};
inline const QColor kFacePressedBottom{0x22, 0x26, 0x2c};
inline const QColor kFaceHoverTop{0x4b, 0x53, 0x60};
inline const QColor kFaceHoverBottom{0x37, 0x3d, 0x47};
inline const QColor kFaceDisabledTop{0x2d, 0x31, 0x38};
inline const QColor kFaceDisabledBottom{0x28, 0x2b, 0x31};
inline const QColor kFaceRim{0, 0, 0, 150};
inline const QColor kFaceDisabledRim{0, 0, 0, 90};
inline const QColor kFacePressedRim{0x3f, 0xb5, 0xff, 150};  // the accent, half seen
inline const QColor kFaceLight{255, 255, 255, 46};           // the top of a raised face
inline const QColor kFaceInnerShadow{0, 0, 0, 120};          // the top of a sunk face
// The face of a button whose action is running (an export): red.
inline const QColor kRunningTop{0x9a, 0x2e, 0x2a};
inline const QColor kRunningBottom{0x6e, 0x1f, 0x1c};
inline const QColor kRunningPressedTop{0x4a, 0x14, 0x12};
inline const QColor kRunningPressedBottom{0x5c, 0x19, 0x17};
inline const QColor kRunningHoverTop{0xb5, 0x3a, 0x35};
inline const QColor kRunningHoverBottom{0x84, 0x26, 0x22};
inline const QColor kRedRim{0x1e, 0x05, 0x04, 200};

// Glyphs on button faces, by frame.
inline const QColor kGlyph{0xd7, 0xdc, 0xe4};
inline const QColor kGlyphHover{0xf7, 0xf9, 0xfc};
inline const QColor kGlyphDisabled{0x5a, 0x60, 0x6a};
inline const QColor kAccent{0x3f, 0xb5, 0xff};
inline const QColor kAccentDeep{0x1f, 0x8f, 0xdc};  // the lower end of accent gradients

// Red for recording; it never follows the accent.
inline const QColor kRecord{0xff, 0x55, 0x4d};
inline const QColor kRecordBright{0xff, 0x76, 0x6e};
inline const QColor kRecordDisabled{0x6b, 0x4a, 0x4c};
inline const QColor kCloseHoverTop{0xe8, 0x4b, 0x44};
inline const QColor kCloseHoverBottom{0xc2, 0x33, 0x2d};

// The slider knobs.
inline const QColor kKnobTop{0xf1, 0xf3, 0xf6};
inline const QColor kKnobBottom{0xbf, 0xc5, 0xce};
inline const QColor kKnobRim{0, 0, 0, 120};
inline const QColor kGrooveLip{255, 255, 255, 34};  // the panel's light on a groove's lower edge
inline const QColor kGrooveTop{0x07, 0x08, 0x0a};
inline const QColor kGrooveBottom{0x14, 0x17, 0x1b};

// The status sprite. The status line swaps its two blues and its black for the user's colours,
// so these three must stay exact; the others never change.
inline const QColor kStatusLit{63, 181, 255};
inline const QColor kStatusDim{23, 64, 103};
inline const QColor kStatusBlack{0, 0, 0};
inline const QColor kStatusRecord{0xf0, 0x3c, 0x32};
inline const QColor kStatusAlarm{0xe8, 0x2a, 0x22};
inline const QColor kStatusAlarmText{0xff, 0xff, 0xff};

// The application icon's lens.
inline const QColor kLensBarrelTop{0x47, 0x4f, 0x5b};
inline const QColor kLensBarrelBottom{0x22, 0x26, 0x2d};
inline const QColor kLensGlassCentre{0x12, 0x2a, 0x40};
inline const QColor kLensGlassEdge{0x03, 0x06, 0x0a};

}  // namespace dvr::skin
