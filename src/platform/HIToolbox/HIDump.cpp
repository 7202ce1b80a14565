// The JSON description of a window.
#include "HIObjects.h"
#include <HIToolbox/HIDump.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <map>

namespace {
using Json = nlohmann::ordered_json;

Json Bounds(const Rect& r) { return Json::array({r.top, r.left, r.bottom, r.right}); }

const char* ClassName(WindowClass c) {
    switch (c) {
    case kAlertWindowClass: return "alert";
    case kMovableAlertWindowClass: return "movable-alert";
    case kModalWindowClass: return "modal";
    case kMovableModalWindowClass: return "movable-modal";
    case kFloatingWindowClass: return "floating";
    case kDocumentWindowClass: return "document";
    case kUtilityWindowClass: return "utility";
    case kHelpWindowClass: return "help";
    case kSheetWindowClass: return "sheet";
    case kToolbarWindowClass: return "toolbar";
    case kPlainWindowClass: return "plain";
    case kOverlayWindowClass: return "overlay";
    case kDrawerWindowClass: return "drawer";
    default: return "other";
    }
}

Json Drawing(const std::vector<hi::DrawCommand>& commands) {
    Json out = Json::array();
    for (const hi::DrawCommand& c : commands) {
        Json j;
        j["op"] = c.op;
        if (c.op == "moveTo" || c.op == "lineTo") {
            j["h"] = c.a, j["v"] = c.b;
        } else if (c.op == "penSize") {
            j["width"] = c.a, j["height"] = c.b;
        } else if (c.op == "penMode") {
            j["mode"] = c.a;
        } else if (c.op == "foreColor" || c.op == "backColor") {
            j["rgb"] = Json::array({c.a, c.b, c.c});
        } else if (c.op == "penPat" || c.op == "fillRect") {
            if (c.op == "fillRect")
                j["rect"] = Json::array({c.a, c.b, c.c, c.d});
            Json rows = Json::array();
            for (UInt8 row : c.pattern.pat)
                rows.push_back(row);
            j["pattern"] = rows;
        } else if (c.op != "penNormal") {
            j["rect"] = Json::array({c.a, c.b, c.c, c.d});
        }
        out.push_back(j);
    }
    return out;
}
} // namespace

std::string HIFourCharCodeText(UInt32 code) {
    char text[5] = {static_cast<char>(code >> 24), static_cast<char>(code >> 16),
                    static_cast<char>(code >> 8), static_cast<char>(code), 0};
    for (int i = 0; i < 4; ++i)
        if (text[i] < 0x20 || text[i] > 0x7E) {
            char hex[11];
            std::snprintf(hex, sizeof hex, "0x%08X", code);
            return hex;
        }
    return text;
}

std::string HICopyWindowJSON(WindowRef window, int indent) {
    if (!hi::IsLiveWindow(window))
        return "null";
    DrawControls(window);
    Json w;
    w["title"] = hi::UTF8(window->title);
    w["class"] = ClassName(window->windowClass);
    w["bounds"] = Bounds(window->bounds);
    w["visible"] = window->visible;
    Json controls = Json::array();
    std::map<ControlRef, int> index;
    hi::Walk(window->root, [&](ControlRef c) {
        if (c == window->root)
            return;
        const int me = static_cast<int>(index.size());
        index[c] = me;
        Json j;
        j["index"] = me;
        auto parent = index.find(c->parent);
        j["parent"] = parent == index.end() ? Json(nullptr) : Json(parent->second);
        j["kind"] = HIFourCharCodeText(c->kind);
        j["signature"] = HIFourCharCodeText(c->id.signature);
        j["id"] = c->id.id;
        j["title"] = hi::UTF8(c->title);
        if (c->kind == kControlKindStaticText || c->kind == kControlKindEditUnicodeText ||
            c->kind == kControlKindRadioGroup)
            j["text"] = hi::UTF8(c->text);
        j["value"] = c->value;
        j["minimum"] = c->minimum;
        j["maximum"] = c->maximum;
        j["visible"] = c->visible;
        j["enabled"] = c->enabled;
        j["command"] = c->command ? Json(HIFourCharCodeText(c->command)) : Json(nullptr);
        j["bounds"] = Bounds(c->bounds);
        j["font_size"] = hi::ControlFontSize(c);
        if (c->kind == kControlKindPopupButton && c->menu) {
            Json menu = Json::array();
            for (const auto& item : c->menu->items)
                menu.push_back(Json{{"title", hi::UTF8(item.text)},
                                    {"enabled", item.enabled && c->menu->enabled}});
            j["menu"] = menu;
        }
        if (c->kind == kControlKindUserPane)
            j["drawing"] = Drawing(c->drawing);
        controls.push_back(j);
    });
    w["controls"] = controls;
    return w.dump(indent < 0 ? -1 : indent, ' ', false, Json::error_handler_t::replace);
}

std::vector<WindowRef> HICopyWindowList() {
    return hi::LiveWindows();
}
