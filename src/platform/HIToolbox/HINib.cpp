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

OSStatus Build(WindowRef window, const hi::nib::Control& model, ControlRef parent) {
    ControlRef c = nullptr;
    CFStringRef title = Text(model.title);
    OSStatus err = noErr;
    switch (model.kind) {
    case kControlKindPushButton:
        err = CreatePushButtonControl(window, &model.bounds, title, &c);
        break;
    case kControlKindCheckBox:
        err = CreateCheckBoxControl(window, &model.bounds, title, 0, true, &c);
        break;
    case kControlKindRadioGroup:
        err = CreateRadioGroupControl(window, &model.bounds, &c);
        break;
    case kControlKindRadioButton:
        err = CreateRadioButtonControl(window, &model.bounds, title, 0, true, &c);
        break;
    case kControlKindPopupButton:
        err = CreatePopupButtonControl(window, &model.bounds, title, 0, false, -1, 0, 0, &c);
        break;
    case kControlKindStaticText:
        err = CreateStaticTextControl(window, &model.bounds, nullptr, nullptr, &c);
        break;
    case kControlKindEditUnicodeText:
        err = CreateEditUnicodeTextControl(window, &model.bounds, nullptr, false, nullptr, &c);
        break;
    case kControlKindGroupBox:
        err = CreateGroupBoxControl(window, &model.bounds, title, true, &c);
        break;
    case kControlKindSeparator:
        err = CreateSeparatorControl(window, &model.bounds, &c);
        break;
    case kControlKindChasingArrows:
        err = CreateChasingArrowsControl(window, &model.bounds, &c);
        break;
    default:
        err = CreateUserPaneControl(window, &model.bounds, kControlSupportsEmbedding, &c);
        break;
    }
    CFRelease(title);
    if (err != noErr)
        return err;
    if (model.kind == kControlKindStaticText || model.kind == kControlKindEditUnicodeText ||
        model.kind == kControlKindRadioGroup) {
        CFStringRef text = Text(model.text.empty() && model.kind == kControlKindStaticText ? model.title : model.text);
        SetControlData(c, 0, kControlStaticTextCFStringTag, sizeof text, &text);
        CFRelease(text);
    }
    SetControlID(c, &model.id);
    SetControlCommandID(c, model.command);
    if (model.fontSize > 0) {
        ControlFontStyleRec style{};
        style.flags = kControlUseSizeMask;
        style.size = model.fontSize;
        SetControlFontStyle(c, &style);
    }
    if (MenuRef menu = GetControlPopupMenuRef(c)) {
        for (const hi::nib::MenuItem& item : model.items) {
            CFStringRef text = Text(item.title);
            MenuItemIndex index = 0;
            AppendMenuItemTextWithCFString(menu, text, 0, item.command, &index);
            CFRelease(text);
            if (!item.enabled)
                DisableMenuItem(menu, index);
        }
        SetControl32BitMaximum(c, CountMenuItems(menu));
    }
    if (model.hasMinimum)
        SetControl32BitMinimum(c, model.minimum);
    if (model.hasMaximum)
        SetControl32BitMaximum(c, model.maximum);
    if (model.hasValue && model.kind != kControlKindRadioGroup)
        SetControl32BitValue(c, model.value);
    if (parent != nullptr)
        EmbedControl(c, parent);
    for (const hi::nib::Control& child : model.children)
        if ((err = Build(window, child, c)) != noErr)
            return err;
    if (model.hasValue && model.kind == kControlKindRadioGroup)
        SetControl32BitValue(c, model.value);
    if (!model.enabled)
        DisableControl(c);
    if (!model.visible)
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
    for (const hi::nib::Window& model : nibRef->file.windows) {
        if (model.name != wanted)
            continue;
        WindowRef window = nullptr;
        OSStatus err = CreateNewWindow(model.windowClass, 0, &model.bounds, &window);
        if (err != noErr)
            return err;
        CFStringRef title = Text(model.title);
        SetWindowTitleWithCFString(window, title);
        CFRelease(title);
        for (const hi::nib::Control& control : model.controls) {
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
