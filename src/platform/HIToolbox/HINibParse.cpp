// Reading and validating the XML of a NIB with libxml2. Strict: an unknown element or
// attribute, a malformed number or a value out of range rejects the whole file, so that an
// author's typo shows at once instead of as a control that silently lacks its setting.
#include "HINibModel.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <set>

namespace hi::nib {
namespace {

struct Reader {
    std::string error;
    size_t controls = 0;

    bool fail(const xmlNode* node, const std::string& message) {
        if (error.empty())
            error = "line " + std::to_string(node ? xmlGetLineNo(node) : 0) + ": " + message;
        return false;
    }
};

std::string Name(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

bool Attr(const xmlNode* node, const char* name, std::string& out) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (value == nullptr)
        return false;
    out = reinterpret_cast<const char*>(value);
    xmlFree(value);
    return true;
}

/// Every attribute of `node` must be one of `allowed`.
bool OnlyAttributes(Reader& r, const xmlNode* node, const std::set<std::string>& allowed) {
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        std::string name = reinterpret_cast<const char*>(a->name);
        if (a->ns != nullptr || allowed.count(name) == 0)
            return r.fail(node, "unknown attribute \"" + name + "\" on <" + Name(node) + ">");
        std::string value;
        if (Attr(node, name.c_str(), value) && value.size() > kMaxText)
            return r.fail(node, "attribute \"" + name + "\" is longer than " + std::to_string(kMaxText) + " bytes");
    }
    return true;
}

bool Integer(const std::string& text, long low, long high, long& out) {
    if (text.empty() || text.size() > 20)
        return false;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || value < low || value > high)
        return false;
    out = value;
    return true;
}

bool Number(Reader& r, const xmlNode* node, const char* name, long low, long high, long& out) {
    std::string text;
    if (!Attr(node, name, text))
        return false;
    if (!Integer(text, low, high, out))
        return r.fail(node, std::string("attribute \"") + name + "\" must be an integer from " +
                                std::to_string(low) + " to " + std::to_string(high));
    return true;
}

bool Flag(Reader& r, const xmlNode* node, const char* name, bool& out) {
    std::string text;
    if (!Attr(node, name, text))
        return true;
    if (text == "true" || text == "1")
        out = true;
    else if (text == "false" || text == "0")
        out = false;
    else
        return r.fail(node, std::string("attribute \"") + name + "\" must be true or false");
    return true;
}

/// Four characters (Latin-1 printable ASCII here) or 0x and up to 8 hex digits.
bool Code(Reader& r, const xmlNode* node, const char* name, UInt32& out) {
    std::string text;
    if (!Attr(node, name, text))
        return true;
    if (text.size() == 4) {
        out = 0;
        for (unsigned char c : text) {
            if (c < 0x20 || c > 0x7E)
                return r.fail(node, std::string("attribute \"") + name + "\" must be printable ASCII");
            out = (out << 8) | c;
        }
        return true;
    }
    if (text.size() > 2 && text.size() <= 10 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        char* end = nullptr;
        unsigned long value = std::strtoul(text.c_str() + 2, &end, 16);
        if (*end == '\0' && std::isxdigit(static_cast<unsigned char>(text[2]))) {
            out = static_cast<UInt32>(value);
            return true;
        }
    }
    return r.fail(node, std::string("attribute \"") + name +
                            "\" must be four characters or a 0x hexadecimal number");
}

/// "top left bottom right", each a 16-bit integer, bottom >= top and right >= left.
bool Bounds(Reader& r, const xmlNode* node, Rect& out) {
    std::string text;
    if (!Attr(node, "bounds", text))
        return r.fail(node, "<" + Name(node) + "> needs bounds=\"top left bottom right\"");
    long v[4];
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        while (at < text.size() && text[at] == ' ')
            ++at;
        size_t end = text.find(' ', at);
        std::string part = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!Integer(part, -32768, 32767, v[i]))
            return r.fail(node, "bounds must be four integers: top left bottom right");
        at = end == std::string::npos ? text.size() : end;
    }
    while (at < text.size() && text[at] == ' ')
        ++at;
    if (at != text.size())
        return r.fail(node, "bounds must be four integers: top left bottom right");
    if (v[2] < v[0] || v[3] < v[1])
        return r.fail(node, "bounds: bottom must not lie above top, nor right left of left");
    out = Rect{static_cast<short>(v[0]), static_cast<short>(v[1]), static_cast<short>(v[2]),
               static_cast<short>(v[3])};
    return true;
}

struct KindName {
    const char* name;
    OSType kind;
};
const KindName kKinds[] = {
    {"push", kControlKindPushButton},      {"checkbox", kControlKindCheckBox},
    {"radiogroup", kControlKindRadioGroup}, {"radio", kControlKindRadioButton},
    {"popup", kControlKindPopupButton},     {"statictext", kControlKindStaticText},
    {"edittext", kControlKindEditUnicodeText}, {"groupbox", kControlKindGroupBox},
    {"separator", kControlKindSeparator},   {"arrows", kControlKindChasingArrows},
    {"userpane", kControlKindUserPane},
};

struct ClassName {
    const char* name;
    WindowClass windowClass;
};
const ClassName kClasses[] = {
    {"alert", kAlertWindowClass},       {"movable-alert", kMovableAlertWindowClass},
    {"modal", kModalWindowClass},       {"movable-modal", kMovableModalWindowClass},
    {"floating", kFloatingWindowClass}, {"document", kDocumentWindowClass},
    {"utility", kUtilityWindowClass},   {"help", kHelpWindowClass},
    {"sheet", kSheetWindowClass},       {"toolbar", kToolbarWindowClass},
    {"plain", kPlainWindowClass},       {"overlay", kOverlayWindowClass},
    {"drawer", kDrawerWindowClass},
};

bool IsEmbedder(OSType kind) {
    return kind == kControlKindGroupBox || kind == kControlKindRadioGroup || kind == kControlKindUserPane;
}

/// Elements only: text between elements must be white space, comments are skipped.
template <class F> bool Children(Reader& r, const xmlNode* node, F&& each) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
        if (child->type == XML_COMMENT_NODE)
            continue;
        if (child->type == XML_TEXT_NODE) {
            const char* text = reinterpret_cast<const char*>(child->content);
            for (; text && *text; ++text)
                if (!std::strchr(" \t\r\n", *text))
                    return r.fail(child, "text is not allowed inside <" + Name(node) + ">");
            continue;
        }
        if (child->type != XML_ELEMENT_NODE || child->ns != nullptr)
            return r.fail(child, "only elements of the NIB format are allowed");
        if (!each(child))
            return false;
    }
    return true;
}

bool ReadControl(Reader& r, const xmlNode* node, size_t depth, Control& out) {
    if (Name(node) != "control")
        return r.fail(node, "<" + Name(node) + "> found where a <control> belongs");
    if (depth > kMaxDepth)
        return r.fail(node, "controls are nested deeper than " + std::to_string(kMaxDepth));
    if (++r.controls > kMaxControls)
        return r.fail(node, "a window has more than " + std::to_string(kMaxControls) + " controls");
    if (!OnlyAttributes(r, node, {"kind", "signature", "id", "bounds", "title", "text", "command",
                                  "value", "minimum", "maximum", "fontsize", "visible", "enabled"}))
        return false;
    std::string kind;
    if (!Attr(node, "kind", kind))
        return r.fail(node, "<control> needs a kind");
    out.kind = 0;
    for (const KindName& k : kKinds)
        if (kind == k.name)
            out.kind = k.kind;
    if (out.kind == 0)
        return r.fail(node, "unknown control kind \"" + kind + "\"");
    if (!Code(r, node, "signature", out.id.signature) || !Bounds(r, node, out.bounds) ||
        !Code(r, node, "command", out.command) || !Flag(r, node, "visible", out.visible) ||
        !Flag(r, node, "enabled", out.enabled))
        return false;
    long n = 0;
    if (Number(r, node, "id", INT32_MIN, INT32_MAX, n))
        out.id.id = static_cast<SInt32>(n);
    if (Number(r, node, "value", INT32_MIN, INT32_MAX, n))
        out.hasValue = true, out.value = static_cast<SInt32>(n);
    if (Number(r, node, "minimum", INT32_MIN, INT32_MAX, n))
        out.hasMinimum = true, out.minimum = static_cast<SInt32>(n);
    if (Number(r, node, "maximum", INT32_MIN, INT32_MAX, n))
        out.hasMaximum = true, out.maximum = static_cast<SInt32>(n);
    if (Number(r, node, "fontsize", 1, 128, n))
        out.fontSize = static_cast<SInt16>(n);
    if (!r.error.empty())
        return false;
    Attr(node, "title", out.title);
    Attr(node, "text", out.text);
    return Children(r, node, [&](const xmlNode* child) {
        if (Name(child) == "item") {
            if (out.kind != kControlKindPopupButton)
                return r.fail(child, "only a popup has menu <item>s");
            if (out.items.size() >= kMaxItems)
                return r.fail(child, "a popup has more than " + std::to_string(kMaxItems) + " items");
            if (!OnlyAttributes(r, child, {"title", "command", "enabled"}))
                return false;
            MenuItem item;
            if (!Attr(child, "title", item.title))
                return r.fail(child, "<item> needs a title");
            if (!Code(r, child, "command", item.command) || !Flag(r, child, "enabled", item.enabled))
                return false;
            out.items.push_back(item);
            return true;
        }
        if (!IsEmbedder(out.kind))
            return r.fail(child, "a " + kind + " cannot hold other controls");
        out.children.emplace_back();
        return ReadControl(r, child, depth + 1, out.children.back());
    });
}

bool ReadWindow(Reader& r, const xmlNode* node, Window& out) {
    if (!OnlyAttributes(r, node, {"name", "class", "title", "bounds"}))
        return false;
    if (!Attr(node, "name", out.name) || out.name.empty())
        return r.fail(node, "<window> needs a name");
    std::string cls = "document";
    Attr(node, "class", cls);
    out.windowClass = 0;
    for (const ClassName& c : kClasses)
        if (cls == c.name)
            out.windowClass = c.windowClass;
    if (out.windowClass == 0)
        return r.fail(node, "unknown window class \"" + cls + "\"");
    Attr(node, "title", out.title);
    if (!Bounds(r, node, out.bounds))
        return false;
    r.controls = 0;
    return Children(r, node, [&](const xmlNode* child) {
        out.controls.emplace_back();
        return ReadControl(r, child, 1, out.controls.back());
    });
}

} // namespace

bool Parse(const void* bytes, size_t length, File& out, std::string& error) {
    out = File{};
    if (bytes == nullptr || length == 0) {
        error = "the file is empty";
        return false;
    }
    if (length > kMaxFileBytes) {
        error = "the file is larger than " + std::to_string(kMaxFileBytes) + " bytes";
        return false;
    }
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) {
        error = "out of memory";
        return false;
    }
    // No network, no entity expansion beyond the predefined ones, no DTD loading; errors are
    // kept in the context rather than printed.
    xmlDocPtr doc = xmlCtxtReadMemory(context, static_cast<const char*>(bytes), static_cast<int>(length),
                                      "nib", nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    Reader r;
    if (doc == nullptr) {
        const xmlError* e = xmlCtxtGetLastError(context);
        r.error = "not well-formed XML";
        if (e && e->message) {
            std::string message = e->message;
            while (!message.empty() && message.back() == '\n')
                message.pop_back();
            r.error = "line " + std::to_string(e->line) + ": " + message;
        }
    } else {
        const xmlNode* root = xmlDocGetRootElement(doc);
        // A document type declaration could declare entities that expand without bound.
        if (xmlGetIntSubset(doc) != nullptr) {
            r.fail(root, "a NIB has no document type declaration");
        } else if (root == nullptr || Name(root) != "nib" || root->ns != nullptr) {
            r.fail(root, "the root element must be <nib>");
        } else {
            std::string version;
            if (!OnlyAttributes(r, root, {"version"})) {
            } else if (!Attr(root, "version", version) || version != "1") {
                r.fail(root, "<nib> must have version=\"1\"");
            } else {
                std::set<std::string> names;
                Children(r, root, [&](const xmlNode* child) {
                    if (Name(child) != "window")
                        return r.fail(child, "<" + Name(child) + "> found where a <window> belongs");
                    if (out.windows.size() >= kMaxWindows)
                        return r.fail(child, "more than " + std::to_string(kMaxWindows) + " windows");
                    out.windows.emplace_back();
                    if (!ReadWindow(r, child, out.windows.back()))
                        return false;
                    if (!names.insert(out.windows.back().name).second)
                        return r.fail(child, "two windows are named \"" + out.windows.back().name + "\"");
                    return true;
                });
            }
        }
        xmlFreeDoc(doc);
    }
    xmlFreeParserCtxt(context);
    if (!r.error.empty()) {
        out = File{};
        error = r.error;
        return false;
    }
    error.clear();
    return true;
}

} // namespace hi::nib
