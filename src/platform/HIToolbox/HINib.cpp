// NIB references and windows made from them.
#include "HINibModel.h"
#include "HIObjects.h"
#include <HIToolbox/IBCarbonRuntime.h>

#include <CoreFoundation/CFURL.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct OpaqueIBNibRef {
    hi::nib::File file;
};

namespace {

std::string& LastError() {
    thread_local std::string error;
    return error;
}

OSStatus FromBytes(const void* bytes, size_t length, IBNibRef* out) {
    auto* nib = new OpaqueIBNibRef;
    if (!hi::nib::Parse(bytes, length, nib->file, LastError())) {
        delete nib;
        return coreFoundationUnknownErr;
    }
    *out = nib;
    return noErr;
}

/// Reads a regular file of at most the NIB size limit.
OSStatus ReadFile(const std::string& path, std::string& out) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        LastError() = "cannot open " + path;
        return kIBCarbonRuntimeCantFindNibFile;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        LastError() = path + " is not a file";
        return kIBCarbonRuntimeCantFindNibFile;
    }
    out.clear();
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            close(fd);
            LastError() = "cannot read " + path;
            return coreFoundationUnknownErr;
        }
        if (n == 0)
            break;
        out.append(buffer, static_cast<size_t>(n));
        if (out.size() > hi::nib::kMaxFileBytes) {
            close(fd);
            LastError() = "the file is larger than " + std::to_string(hi::nib::kMaxFileBytes) + " bytes";
            return coreFoundationUnknownErr;
        }
    }
    close(fd);
    return noErr;
}

CFStringRef Text(const std::string& utf8) {
    CFStringRef s = hi::NewString(utf8);
    // The parser hands over UTF-8 only; an empty string keeps the creation calls simple.
    return s ? s : hi::NewString("");
}

OSStatus Build(WindowRef window, const hi::nib::Control& spec, ControlRef parent) {
    ControlRef c = nullptr;
    CFStringRef title = Text(spec.title);
    OSStatus err = noErr;
    switch (spec.kind) {
    case kControlKindPushButton:
        err = CreatePushButtonControl(window, &spec.bounds, title, &c);
        break;
    case kControlKindCheckBox:
        err = CreateCheckBoxControl(window, &spec.bounds, title, 0, true, &c);
        break;
    case kControlKindRadioGroup:
        err = CreateRadioGroupControl(window, &spec.bounds, &c);
        break;
    case kControlKindRadioButton:
        err = CreateRadioButtonControl(window, &spec.bounds, title, 0, true, &c);
        break;
    case kControlKindPopupButton:
        err = CreatePopupButtonControl(window, &spec.bounds, title, 0, false, -1, 0, 0, &c);
        break;
    case kControlKindStaticText:
        err = CreateStaticTextControl(window, &spec.bounds, nullptr, nullptr, &c);
        break;
    case kControlKindEditUnicodeText:
        err = CreateEditUnicodeTextControl(window, &spec.bounds, nullptr, false, nullptr, &c);
        break;
    case kControlKindGroupBox:
        err = CreateGroupBoxControl(window, &spec.bounds, title, true, &c);
        break;
    case kControlKindSeparator:
        err = CreateSeparatorControl(window, &spec.bounds, &c);
        break;
    case kControlKindChasingArrows:
        err = CreateChasingArrowsControl(window, &spec.bounds, &c);
        break;
    default:
        err = CreateUserPaneControl(window, &spec.bounds, kControlSupportsEmbedding, &c);
        break;
    }
    CFRelease(title);
    if (err != noErr)
        return err;
    if (spec.kind == kControlKindStaticText || spec.kind == kControlKindEditUnicodeText ||
        spec.kind == kControlKindRadioGroup) {
        CFStringRef text = Text(spec.text.empty() && spec.kind == kControlKindStaticText ? spec.title : spec.text);
        SetControlData(c, 0, kControlStaticTextCFStringTag, sizeof text, &text);
        CFRelease(text);
    }
    SetControlID(c, &spec.id);
    SetControlCommandID(c, spec.command);
    if (spec.fontSize > 0) {
        ControlFontStyleRec style{};
        style.flags = kControlUseSizeMask;
        style.size = spec.fontSize;
        SetControlFontStyle(c, &style);
    }
    if (MenuRef menu = GetControlPopupMenuRef(c)) {
        for (const hi::nib::MenuItem& item : spec.items) {
            CFStringRef text = Text(item.title);
            MenuItemIndex index = 0;
            AppendMenuItemTextWithCFString(menu, text, 0, item.command, &index);
            CFRelease(text);
            if (!item.enabled)
                DisableMenuItem(menu, index);
        }
        SetControl32BitMaximum(c, CountMenuItems(menu));
    }
    if (spec.hasMinimum)
        SetControl32BitMinimum(c, spec.minimum);
    if (spec.hasMaximum)
        SetControl32BitMaximum(c, spec.maximum);
    if (spec.hasValue && spec.kind != kControlKindRadioGroup)
        SetControl32BitValue(c, spec.value);
    if (parent != nullptr)
        EmbedControl(c, parent);
    for (const hi::nib::Control& child : spec.children)
        if ((err = Build(window, child, c)) != noErr)
            return err;
    if (spec.hasValue && spec.kind == kControlKindRadioGroup)
        SetControl32BitValue(c, spec.value);
    if (!spec.enabled)
        DisableControl(c);
    if (!spec.visible)
        SetControlVisibility(c, false, false);
    return noErr;
}

} // namespace

extern "C" {

OSStatus HICreateNibReferenceFromBytes(const void* bytes, size_t length, IBNibRef* outNibRef) {
    if (outNibRef == nullptr || (bytes == nullptr && length > 0))
        return paramErr;
    *outNibRef = nullptr;
    return FromBytes(bytes, length, outNibRef);
}

OSStatus HICreateNibReferenceFromFile(const char* path, IBNibRef* outNibRef) {
    if (path == nullptr || outNibRef == nullptr)
        return paramErr;
    *outNibRef = nullptr;
    std::string bytes;
    OSStatus err = ReadFile(path, bytes);
    if (err != noErr)
        return err;
    return FromBytes(bytes.data(), bytes.size(), outNibRef);
}

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef bundle, CFStringRef nibName, IBNibRef* outNibRef) {
    if (bundle == nullptr || nibName == nullptr || outNibRef == nullptr)
        return paramErr;
    *outNibRef = nullptr;
    CFURLRef url = CFBundleCopyResourceURL(bundle, nibName, CFSTR("nib"), nullptr);
    if (url == nullptr) {
        LastError() = "the bundle has no NIB named " + hi::UTF8(nibName);
        return kIBCarbonRuntimeCantFindNibFile;
    }
    char path[4096];
    Boolean ok = CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path), sizeof path);
    CFRelease(url);
    if (!ok) {
        LastError() = "the NIB's path is too long";
        return kIBCarbonRuntimeCantFindNibFile;
    }
    return HICreateNibReferenceFromFile(path, outNibRef);
}

OSStatus CreateNibReference(CFStringRef nibName, IBNibRef* outNibRef) {
    CFBundleRef main = CFBundleGetMainBundle();
    if (main == nullptr) {
        if (outNibRef)
            *outNibRef = nullptr;
        return kIBCarbonRuntimeCantFindNibFile;
    }
    return CreateNibReferenceWithCFBundle(main, nibName, outNibRef);
}

CFStringRef HINibCopyLastError(void) { return Text(LastError()); }

void DisposeNibReference(IBNibRef nibRef) { delete nibRef; }

OSStatus CreateWindowFromNib(IBNibRef nibRef, CFStringRef name, WindowRef* outWindow) {
    if (nibRef == nullptr || name == nullptr || outWindow == nullptr)
        return paramErr;
    *outWindow = nullptr;
    const std::string wanted = hi::UTF8(name);
    for (const hi::nib::Window& spec : nibRef->file.windows) {
        if (spec.name != wanted)
            continue;
        WindowRef window = nullptr;
        OSStatus err = CreateNewWindow(spec.windowClass, 0, &spec.bounds, &window);
        if (err != noErr)
            return err;
        CFStringRef title = Text(spec.title);
        SetWindowTitleWithCFString(window, title);
        CFRelease(title);
        for (const hi::nib::Control& control : spec.controls) {
            if ((err = Build(window, control, nullptr)) != noErr) {
                DisposeWindow(window);
                return err;
            }
        }
        *outWindow = window;
        return noErr;
    }
    return kIBCarbonRuntimeCantFindObject;
}

ItemCount HINibCountWindows(IBNibRef nibRef) { return nibRef ? nibRef->file.windows.size() : 0; }

CFStringRef HINibCopyWindowName(IBNibRef nibRef, ItemCount index) {
    if (nibRef == nullptr || index >= nibRef->file.windows.size())
        return nullptr;
    return Text(nibRef->file.windows[index].name);
}

} // extern "C"
