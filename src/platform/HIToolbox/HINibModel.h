#pragma once
// Internal to HIToolbox: a NIB as read and validated from its XML (docs/nib-format.md).

#include <HIToolbox/Controls.h>
#include <HIToolbox/HIToolboxErrors.h>

#include <string>
#include <vector>

namespace hi::nib {

struct MenuItem {
    std::string title; // UTF-8
    UInt32 command = 0;
    bool enabled = true;
};

struct Control {
    OSType kind = 0;
    ControlID id{0, 0};
    Rect bounds{0, 0, 0, 0};
    std::string title, text;
    UInt32 command = 0;
    bool hasValue = false, hasMinimum = false, hasMaximum = false;
    SInt32 value = 0, minimum = 0, maximum = 0;
    SInt16 fontSize = 0;
    bool visible = true, enabled = true;
    std::vector<MenuItem> items;
    std::vector<Control> children;
};

struct Window {
    std::string name, title;
    WindowClass windowClass = kDocumentWindowClass;
    Rect bounds{0, 0, 0, 0};
    std::vector<Control> controls;
};

struct File {
    std::vector<Window> windows;
};

/// Limits that keep a hostile file small.
constexpr size_t kMaxFileBytes = 4u << 20;
constexpr size_t kMaxWindows = 256;
constexpr size_t kMaxControls = 4096; // per window, at any depth
constexpr size_t kMaxDepth = 16;
constexpr size_t kMaxItems = 1000;    // per popup
constexpr size_t kMaxText = 4096;     // bytes of any attribute

/// Reads `bytes` as a NIB; false with `error` set when it is not a valid one.
bool Parse(const void* bytes, size_t length, File& out, std::string& error);

} // namespace hi::nib
