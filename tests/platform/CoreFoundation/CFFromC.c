/* Compiled as C: the public headers and C linkage of the Core Foundation layer. */
#include <CoreFoundation/CoreFoundation.h>

/* Returns 0 on success, else the number of the failed check. */
int PMCFCallFromC(void) {
    CFStringRef parts[2];
    CFArrayRef array;
    CFStringRef joined;
    char buffer[16];
    Boolean ok;
    CFRange range = CFRangeMake(1, 2);

    parts[0] = CFSTR("a");
    parts[1] = CFSTR("b");
    array = CFArrayCreate(kCFAllocatorDefault, (const void**)parts, 2, &kCFTypeArrayCallBacks);
    if (CFArrayGetCount(array) != 2)
        return 1;
    joined = CFStringCreateByCombiningStrings(NULL, array, CFSTR("+"));
    ok = CFStringGetCString(joined, buffer, sizeof buffer, kCFStringEncodingUTF8);
    CFRelease(joined);
    CFRelease(array);
    if (!ok || buffer[0] != 'a' || buffer[1] != '+' || buffer[2] != 'b' || buffer[3] != 0)
        return 2;
    if (range.location != 1 || range.length != 2)
        return 3;
    return 0;
}
