#pragma once

#include <span>

// The dialogs' layouts as they were designed: rectangles in dialog units,
// style notes and texts (UTF-8). The windows build their controls from
// these tables.

enum class ControlKind {
    SkinButton,  // flat owner-drawn push button with icon and tooltip
    PushButton,
    Edit,
    Label,
    Icon,
    GroupBox,
    ListBox,
    ListView,
};

// Style notes of a control, combined with |.
enum ControlStyle : unsigned {
    kNoStyle = 0,
    kHidden = 1u << 0,
    kDefault = 1u << 1,  // the dialog's default push button
    kToggle = 1u << 2,   // a check box drawn as a push button
    kStaticEdge = 1u << 3,
    kBorder = 1u << 4,
    kReadOnly = 1u << 5,
    kMultiLine = 1u << 6,
    kRightAlign = 1u << 7,
    kNoAutoHScroll = 1u << 8,  // typing stops at the visible width
    kVScroll = 1u << 9,
    kWordWrap = 1u << 10,
    kWantReturn = 1u << 11,  // Enter inserts a line break
    kNoPrefix = 1u << 12,    // '&' is shown, not a mnemonic
    kSorted = 1u << 13,
    kNoEdge = 1u << 14,
};

inline constexpr int IDC_STATIC = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    int x, y, cx, cy;  // dialog units
    unsigned style;
    const char* text;  // caption, or "" for none
};

struct DialogTemplate {
    int id;
    const char* title;
    int cx, cy;  // dialog units
    std::span<const ControlTemplate> controls;
};

// The template with this id; the ids are those of resource.h.
const DialogTemplate& FindDialogTemplate(int id);

// One dialog unit is 1.5 pixels across and down (9-point SimSun at 96 dots
// per inch); edges are rounded half away from zero, each on its own.
constexpr int DialogUnitsToPixels(int units) {
    return units >= 0 ? (units * 3 + 1) / 2 : -((-units * 3 + 1) / 2);
}

// A dialog's frame adds this many pixels on each side of its client area.
inline constexpr int kDialogFramePixels = 3;
