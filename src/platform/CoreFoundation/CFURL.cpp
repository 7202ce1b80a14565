//===- CFURL.cpp - File and device URLs -----------------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/CFURL.h>
#include <CoreFoundation/PMASCII.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

/// The five parts of RFC 3986, each with a flag for "present" (an empty query differs from
/// none).
struct Parts {
    bool hasScheme = false, hasAuthority = false, hasQuery = false, hasFragment = false;
    std::string scheme, authority, path, query, fragment;
};

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
using pmcf::HexDigitValue;
using pmcf::IsASCIIDigit;
using pmcf::IsHexDigit;
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Characters a path keeps as they are; every other byte is %-escaped.
bool IsPathChar(char c) {
    return IsAlpha(c) || IsASCIIDigit(c) || (c != 0 && std::strchr("-._~!$&'()*+,=:@/", c) != nullptr);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

Parts Split(std::string_view s) {
    Parts p;
    size_t i = 0;
    if (!s.empty() && IsAlpha(s[0])) {
        while (i < s.size() &&
               (IsAlpha(s[i]) || IsASCIIDigit(s[i]) || s[i] == '+' || s[i] == '-' || s[i] == '.'))
            ++i;
        if (i < s.size() && s[i] == ':') {
            p.hasScheme = true;
            p.scheme = s.substr(0, i);
            s.remove_prefix(i + 1);
        }
    }
    if (size_t hash = s.find('#'); hash != s.npos) {
        p.hasFragment = true;
        p.fragment = s.substr(hash + 1);
        s = s.substr(0, hash);
    }
    if (size_t question = s.find('?'); question != s.npos) {
        p.hasQuery = true;
        p.query = s.substr(question + 1);
        s = s.substr(0, question);
    }
    if (s.substr(0, 2) == "//") {
        p.hasAuthority = true;
        size_t slash = s.find('/', 2);
        p.authority = s.substr(2, slash == s.npos ? s.npos : slash - 2);
        s = slash == s.npos ? std::string_view() : s.substr(slash);
    }
    p.path = s;
    return p;
}

std::string Join(const Parts& p) {
    std::string s;
    if (p.hasScheme)
        s += p.scheme + ":";
    if (p.hasAuthority)
        s += "//" + p.authority;
    s += p.path;
    if (p.hasQuery)
        s += "?" + p.query;
    if (p.hasFragment)
        s += "#" + p.fragment;
    return s;
}

// RFC 3986, 5.2.4.
std::string RemoveDotSegments(std::string in) {
    std::string out;
    while (!in.empty()) {
        if (in.compare(0, 3, "../") == 0) {
            in.erase(0, 3);
        } else if (in.compare(0, 2, "./") == 0) {
            in.erase(0, 2);
        } else if (in.compare(0, 3, "/./") == 0 || in == "/.") {
            in.replace(0, in == "/." ? 2 : 3, "/");
        } else if (in.compare(0, 4, "/../") == 0 || in == "/..") {
            in.replace(0, in == "/.." ? 3 : 4, "/");
            size_t last = out.rfind('/');
            out.erase(last == out.npos ? 0 : last);
        } else if (in == "." || in == "..") {
            in.clear();
        } else {
            size_t end = in.find('/', in[0] == '/' ? 1 : 0);
            out += in.substr(0, end);
            in.erase(0, end);
        }
    }
    return out;
}

// RFC 3986, 5.2.2: the target of `ref` relative to `base`.
Parts Resolve(const Parts& base, const Parts& ref) {
    Parts t;
    if (ref.hasScheme) {
        t = ref;
        t.path = RemoveDotSegments(ref.path);
        return t;
    }
    if (ref.hasAuthority) {
        t = ref;
        t.path = RemoveDotSegments(ref.path);
    } else {
        t.hasAuthority = base.hasAuthority;
        t.authority = base.authority;
        if (ref.path.empty()) {
            t.path = base.path;
            t.hasQuery = ref.hasQuery || base.hasQuery;
            t.query = ref.hasQuery ? ref.query : base.query;
        } else {
            std::string merged;
            if (ref.path[0] == '/')
                merged = ref.path;
            else if (base.hasAuthority && base.path.empty())
                merged = "/" + ref.path;
            else
                merged = base.path.substr(0, base.path.rfind('/') + 1) + ref.path;
            t.path = RemoveDotSegments(merged);
            t.hasQuery = ref.hasQuery;
            t.query = ref.query;
        }
    }
    t.hasScheme = base.hasScheme;
    t.scheme = base.scheme;
    t.hasFragment = ref.hasFragment;
    t.fragment = ref.fragment;
    return t;
}

std::string EscapePath(std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        unsigned char b = static_cast<unsigned char>(c);
        if (IsPathChar(c))
            out.push_back(c);
        else
            out += {'%', kHex[b >> 4], kHex[b & 15]};
    }
    return out;
}

// Decodes %XX escapes (already validated when the URL was made).
std::string Unescape(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && IsHexDigit(s[i + 1]) && IsHexDigit(s[i + 2])) {
            out.push_back(static_cast<char>(HexDigitValue(s[i + 1]) * 16 + HexDigitValue(s[i + 2])));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

// The ASCII text of a URL string, or false when it has characters a URL cannot hold.
bool URLText(std::u16string_view units, std::string& text) {
    int fragments = 0;
    for (size_t i = 0; i < units.size(); ++i) {
        char16_t c = units[i];
        if (c <= 0x20 || c >= 0x7F || std::strchr("\"<>\\^`{|}", static_cast<char>(c)))
            return false;
        if (c == '%' &&
            (i + 2 >= units.size() || !IsHexDigit(units[i + 1]) || !IsHexDigit(units[i + 2])))
            return false;
        fragments += c == '#';
        text.push_back(static_cast<char>(c));
    }
    return fragments <= 1;
}

CFStringRef StringFromUTF8(const std::string& bytes) {
    std::u16string units;
    return pmcf::DecodeUTF8(bytes, units) ? pmcf::CreateString(std::move(units)) : nullptr;
}

std::string WithoutTrailingSlash(std::string path) {
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

/// A URL: its absolute text, the parts of that text, and the same text as a CFString.
struct __CFURL final : pmcf::Object {
    static CFTypeID TypeID() { return CFURLGetTypeID(); }
    explicit __CFURL(std::string urlText)
        : Object(TypeID()), text(std::move(urlText)), parts(Split(text)),
          string(pmcf::CreateString(pmcf::Widen(text))) {}
    ~__CFURL() override { CFRelease(string); }

    bool isLocalFile() const {
        return parts.hasScheme && EqualsIgnoringCase(parts.scheme, "file") &&
               (parts.authority.empty() || EqualsIgnoringCase(parts.authority, "localhost"));
    }
    bool equals(const Object& other) const override {
        return text == static_cast<const __CFURL&>(other).text;
    }
    CFHashCode hash() const override { return pmcf::HashBytes(text.data(), text.size()); }
    std::u16string describe() const override { return pmcf::Widen(text); }

    const std::string text;
    const Parts parts;
    const CFStringRef string;
};

namespace {

const __CFURL* AsURL(CFURLRef url) {
    return pmcf::Cast<__CFURL>(url);
}

CFURLRef CreateFileURL(std::string path, bool isDirectory) {
    if (path.empty() || path.find('\0') != path.npos)
        return nullptr;
    if (path[0] != '/') {
        std::string cwd(256, '\0');
        while (getcwd(&cwd[0], cwd.size()) == nullptr) {
            if (errno != ERANGE || cwd.size() > 1 << 20)
                return nullptr;
            cwd.resize(cwd.size() * 2);
        }
        cwd.resize(std::strlen(cwd.c_str()));
        path = cwd + (cwd.back() == '/' ? "" : "/") + path;
    }
    if (isDirectory && path.back() != '/')
        path.push_back('/');
    return new __CFURL("file://" + EscapePath(path));
}

} // namespace

extern "C" {

CFTypeID CFURLGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFURL");
    return id;
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory) {
    if (pathStyle != kCFURLPOSIXPathStyle || CFStringGetLength(filePath) == 0)
        return nullptr;
    std::u16string_view units = pmcf::Units(filePath);
    std::string bytes = pmcf::EncodeUTF8Lossy(units);
    return CreateFileURL(std::move(bytes), isDirectory);
}

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef, const UInt8* buffer,
                                                 CFIndex bufLen, Boolean isDirectory) {
    if (buffer == nullptr || bufLen <= 0)
        return nullptr;
    return CreateFileURL(std::string(reinterpret_cast<const char*>(buffer), bufLen), isDirectory);
}

CFURLRef CFURLCreateWithString(CFAllocatorRef, CFStringRef URLString, CFURLRef baseURL) {
    std::string text;
    if (pmcf::Cast<__CFString>(URLString) == nullptr || !URLText(pmcf::Units(URLString), text))
        return nullptr;
    const __CFURL* base = AsURL(baseURL);
    Parts parts = Split(text);
    if (base && !parts.hasScheme)
        text = Join(Resolve(base->parts, parts));
    if (text.empty())
        return nullptr;
    return new __CFURL(std::move(text));
}

CFStringRef CFURLGetString(CFURLRef anURL) {
    const __CFURL* url = AsURL(anURL);
    return url ? url->string : nullptr;
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, UInt8* buffer, CFIndex maxBufLen) {
    if (buffer == nullptr || maxBufLen <= 0)
        return false;
    buffer[0] = 0;
    const __CFURL* u = AsURL(url);
    if (u == nullptr || !u->isLocalFile())
        return false;
    std::string path = WithoutTrailingSlash(Unescape(u->parts.path));
    if (path.empty() || path[0] != '/' || path.find('\0') != path.npos ||
        path.size() >= static_cast<size_t>(maxBufLen))
        return false;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return true;
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle) {
    const __CFURL* u = AsURL(anURL);
    if (u == nullptr || pathStyle != kCFURLPOSIXPathStyle)
        return nullptr;
    return StringFromUTF8(WithoutTrailingSlash(Unescape(u->parts.path)));
}

CFStringRef CFURLCopyScheme(CFURLRef anURL) {
    const __CFURL* u = AsURL(anURL);
    return u && u->parts.hasScheme ? StringFromUTF8(u->parts.scheme) : nullptr;
}

CFStringRef CFURLCopyHostName(CFURLRef anURL) {
    const __CFURL* u = AsURL(anURL);
    if (u == nullptr || !u->parts.hasAuthority)
        return nullptr;
    std::string_view host = u->parts.authority;
    if (size_t at = host.rfind('@'); at != host.npos)
        host.remove_prefix(at + 1);
    if (!host.empty() && host[0] == '[') {
        size_t close = host.find(']');
        host = close == host.npos ? std::string_view() : host.substr(1, close - 1);
    } else {
        host = host.substr(0, host.find(':'));
    }
    return host.empty() ? nullptr : StringFromUTF8(Unescape(host));
}

CFStringRef CFURLCopyLastPathComponent(CFURLRef url) {
    const __CFURL* u = AsURL(url);
    if (u == nullptr)
        return nullptr;
    std::string path = WithoutTrailingSlash(u->parts.path);
    if (path != "/")
        path.erase(0, path.rfind('/') + 1);
    return StringFromUTF8(Unescape(path));
}

CFStringRef CFURLCopyPathExtension(CFURLRef url) {
    const __CFURL* u = AsURL(url);
    if (u == nullptr)
        return nullptr;
    std::string path = WithoutTrailingSlash(u->parts.path);
    std::string name = Unescape(path.substr(path.rfind('/') + 1));
    size_t dot = name.rfind('.');
    if (dot == name.npos || dot == 0 || dot + 1 == name.size())
        return nullptr;
    return StringFromUTF8(name.substr(dot + 1));
}

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef, CFURLRef url,
                                               CFStringRef pathComponent, Boolean isDirectory) {
    const __CFURL* u = AsURL(url);
    if (u == nullptr || pmcf::Cast<__CFString>(pathComponent) == nullptr)
        return nullptr;
    Parts parts = u->parts;
    if (parts.path.empty() ? parts.hasAuthority : parts.path.back() != '/')
        parts.path.push_back('/');
    parts.path += EscapePath(pmcf::EncodeUTF8Lossy(pmcf::Units(pathComponent)));
    if (isDirectory && parts.path.back() != '/')
        parts.path.push_back('/');
    return new __CFURL(Join(parts));
}

CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef, CFURLRef url) {
    const __CFURL* u = AsURL(url);
    if (u == nullptr)
        return nullptr;
    Parts parts = u->parts;
    std::string path = WithoutTrailingSlash(parts.path);
    size_t slash = path.rfind('/');
    parts.path = slash == path.npos ? std::string() : path.substr(0, slash + 1);
    return new __CFURL(Join(parts));
}

Boolean CFURLHasDirectoryPath(CFURLRef anURL) {
    const __CFURL* u = AsURL(anURL);
    return u && !u->parts.path.empty() && u->parts.path.back() == '/';
}

} // extern "C"
