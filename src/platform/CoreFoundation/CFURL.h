//===- CFURL.h - File and device URLs ----------------------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFURL_H
#define PIGMENTOR_CF_CFURL_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFString.h>

CF_EXTERN_C_BEGIN

/// A CFURL is an immutable, absolute URL kept as its ASCII text: file URLs made from paths
/// ("file:///abs/path", bytes outside the safe set percent-escaped, a trailing '/' for
/// directories) and any other scheme as given (device URIs such as "ipp://host/printers/x" or
/// "socket://10.0.0.5"). A reference relative to a base URL is resolved at creation, so
/// CFURLGetString always returns the absolute text. Path and host components are returned
/// with their escapes decoded, as UTF-8 text. Functions return NULL/false for NULL URLs.
///
/// A URL's text may hold only printable ASCII other than space and "<>\"\\^`{|}", '%' only
/// before two hex digits, and one '#'. A file URL's path is absolute (relative paths are
/// joined to the current directory) and has no NUL; its file-system form drops a trailing
/// '/' except for the root. Only POSIX path style is supported. A local file URL has an
/// empty or "localhost" host.
typedef const struct __CFURL* CFURLRef;

/// How a file-system path is written. Only POSIX paths are supported; others give NULL.
typedef CFIndex CFURLPathStyle;
enum { kCFURLPOSIXPathStyle = 0, kCFURLHFSPathStyle = 1, kCFURLWindowsPathStyle = 2 };

/// Type id of URLs.
CF_EXPORT CFTypeID CFURLGetTypeID(void);
/// A file URL for `filePath`, made absolute; NULL if empty, holding NUL, or not POSIX style.
CF_EXPORT CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                                 CFURLPathStyle pathStyle, Boolean isDirectory);
/// A file URL for the `bufLen` path bytes in `buffer` (any bytes but NUL).
CF_EXPORT CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator,
                                                           const UInt8* buffer, CFIndex bufLen,
                                                           Boolean isDirectory);
/// A URL from its text, resolved against `baseURL` when relative; NULL when it is no URL.
CF_EXPORT CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString,
                                         CFURLRef baseURL);
/// The URL's text (not retained).
CF_EXPORT CFStringRef CFURLGetString(CFURLRef anURL);
/// The NUL-terminated path of a local file URL; false (empty `buffer`) if not one or too long.
CF_EXPORT Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase,
                                                   UInt8* buffer, CFIndex maxBufLen);
/// The decoded path (without a trailing '/' except for "/"); NULL when not valid UTF-8.
CF_EXPORT CFStringRef CFURLCopyFileSystemPath(CFURLRef anURL, CFURLPathStyle pathStyle);
/// The scheme ("file", "ipp"...); NULL when there is none.
CF_EXPORT CFStringRef CFURLCopyScheme(CFURLRef anURL);
/// The host, without brackets for IPv6; NULL when empty or absent.
CF_EXPORT CFStringRef CFURLCopyHostName(CFURLRef anURL);
/// The last path segment ("/" for the root, "" for an empty path).
CF_EXPORT CFStringRef CFURLCopyLastPathComponent(CFURLRef url);
/// The text after the last segment's last '.'; NULL if none, empty, or the '.' starts it.
CF_EXPORT CFStringRef CFURLCopyPathExtension(CFURLRef url);
/// `url` with `pathComponent` (escaped as needed; '/' kept) appended to its path.
CF_EXPORT CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef allocator, CFURLRef url,
                                                         CFStringRef pathComponent,
                                                         Boolean isDirectory);
/// `url` with its last path segment removed ("/a/b" -> "/a/"; the root stays the root).
CF_EXPORT CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef allocator, CFURLRef url);
/// True when the path ends with '/'.
CF_EXPORT Boolean CFURLHasDirectoryPath(CFURLRef anURL);

CF_EXTERN_C_END

#endif
