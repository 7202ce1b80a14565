//===- ColourReport.cpp - The colour pane's view as JSON ------------------===//
#include "ColourReport.h"

#include "JsonWriter.h"

#include "DeviceLinkItem.h"
#include "DeviceLinkList.h"
#include "PigmentorBIDIItem.h"
#include "PigmentorBIDIItemList.h"
#include "PigmentorBooleanItem.h"
#include "PigmentorData.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"
#include "PigmentorPaneItemList.h"

#include "PPDXPopupControl.h"
#include "QRVJobTicket.h"
#include "_PopupItem.h"

#include <CoreFoundation/PMCFUtilities.h>

#include <initializer_list>

namespace {

/// More summary lines than any pane has: a controller that never answers false stops here.
const int kMaxSummaryLines = 1000;

void writeCFString(JsonWriter& json, CFStringRef text) {
    if (text)
        json.String(PMCFStringCopyUTF8(text));
    else
        json.Null();
}

const char* itemType(PigmentorItem* item) {
    if (dynamic_cast<PigmentorBIDIItem*>(item))
        return "bidi";
    if (dynamic_cast<PigmentorBooleanItem*>(item))
        return "boolean";
    return "popup";
}

void writeItem(JsonWriter& json, PigmentorItem* item) {
    json.BeginObject();
    json.Key("keyword");
    json.String(item->getFeatureKeyword());
    json.Key("index");
    json.Number(static_cast<long>(item->getIndex()));
    json.Key("name");
    json.String(item->getFeatureDisplayName());
    json.Key("type");
    json.String(itemType(item));
    json.Key("value");
    json.Number(item->getValue());
    json.Key("valueKeyword");
    json.String(item->getValueKeyword());
    json.Key("enabled");
    json.Bool(item->featureIsEnabled());
    json.Key("items");
    json.BeginArray();
    // The item's own buffers are 256 bytes: keyword and name of each value.
    char keyword[256] = "";
    char name[256] = "";
    for (const char* k = item->getFirstKeyword(keyword, name); k;
         k = item->getNextKeyword(keyword, name)) {
        json.BeginObject();
        json.Key("keyword");
        json.String(k);
        json.Key("name");
        json.String(name[0] ? name : nullptr);
        json.EndObject();
        name[0] = '\0';
    }
    json.EndArray();
    json.EndObject();
}

void writeItems(JsonWriter& json, PigmentorItemList* list) {
    json.BeginArray();
    if (list)
        for (PigmentorItem* item = list->firstItem(); item; item = PigmentorItemList::nextItem(item))
            writeItem(json, item);
    json.EndArray();
}

void writePrintMode(JsonWriter& json, PigmentorData& data) {
    auto keywordOrNull = [&json](const char* keyword) { json.String(*keyword ? keyword : nullptr); };
    PPDXPopupControl* control = data.GetColorModePPDControl();
    json.BeginObject();
    json.Key("control");
    json.String(control ? control->Keyword() : nullptr);
    json.Key("standard");
    keywordOrNull(data.GetStandardColorKeyword());
    json.Key("grayscale");
    keywordOrNull(data.GetGrayscaleColorKeyword());
    json.Key("expert");
    keywordOrNull(data.GetExpertColorKeyword());
    int value = 0;
    data.GetColorModeValue(value);
    json.Key("value");
    json.Number(static_cast<long>(value));
    json.Key("current");
    _PopupItem* current = control ? control->CurrentItem() : nullptr;
    json.String(current ? current->Keyword() : nullptr);
    json.EndObject();
}

void writeDeviceLinks(JsonWriter& json, PigmentorPPDItemList* expert) {
    json.BeginArray();
    auto* twoWay = dynamic_cast<PigmentorBIDIItemList*>(expert);
    DeviceLinkList* links = twoWay ? twoWay->getDeviceLinks() : nullptr;
    for (DeviceLinkItem* link = links ? links->firstLink() : nullptr; link;
         link = DeviceLinkList::nextLink(link)) {
        json.BeginObject();
        json.Key("type");
        json.Number(static_cast<long>(link->getType()));
        json.Key("source");
        json.Number(static_cast<long>(link->getSource()));
        json.Key("destination");
        json.Number(static_cast<long>(link->getDestination()));
        json.Key("name");
        writeCFString(json, link->getName());
        json.EndObject();
    }
    json.EndArray();
}

void writeSummary(JsonWriter& json, PigmentorData& data) {
    json.BeginArray();
    CFMutableStringRef title = CFStringCreateMutable(kCFAllocatorDefault, 0);
    CFMutableStringRef value = CFStringCreateMutable(kCFAllocatorDefault, 0);
    bool enabled = true;
    for (int line = 0; title && value && line < kMaxSummaryLines; ++line) {
        CFStringReplaceAll(title, CFSTR(""));
        CFStringReplaceAll(value, CFSTR(""));
        if (!data.GetSummaryLine(title, value, enabled))
            break;
        json.BeginObject();
        json.Key("title");
        writeCFString(json, title);
        json.Key("value");
        writeCFString(json, value);
        json.Key("enabled");
        json.Bool(enabled);
        json.EndObject();
    }
    for (CFMutableStringRef s : {title, value})
        if (s)
            CFRelease(s);
    json.EndArray();
}

void writeJobTicket(JsonWriter& json, PigmentorData& data, QRVJobTicket& ticket) {
    CFArrayRef injections = ticket.Injections();
    CFIndex first = injections ? CFArrayGetCount(injections) : 0;
    data.OutPostscriptData(ticket);
    injections = ticket.Injections();
    CFIndex count = injections ? CFArrayGetCount(injections) : 0;
    json.BeginArray();
    // The array alternates site (number) and fragment (data).
    for (CFIndex i = first; i + 1 < count; i += 2) {
        auto site = static_cast<CFNumberRef>(CFArrayGetValueAtIndex(injections, i));
        auto bytes = static_cast<CFDataRef>(CFArrayGetValueAtIndex(injections, i + 1));
        SInt32 number = 0;
        if (!site || CFGetTypeID(site) != CFNumberGetTypeID() || !bytes ||
            CFGetTypeID(bytes) != CFDataGetTypeID() ||
            !CFNumberGetValue(site, kCFNumberSInt32Type, &number))
            continue;
        json.BeginObject();
        json.Key("site");
        json.Number(static_cast<long>(number));
        json.Key("data");
        json.Bytes(CFDataGetBytePtr(bytes), static_cast<long>(CFDataGetLength(bytes)));
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

void WriteColourReport(PigmentorData& data, QRVJobTicket& ticket, FILE* out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("valid");
    json.Bool(data.Valid());
    json.Key("error");
    json.Number(static_cast<long>(data.GetPigmentorErr()));
    json.Key("printMode");
    writePrintMode(json, data);
    json.Key("paneItems");
    writeItems(json, data.GetPigmentorPaneItemList());
    json.Key("expertItems");
    writeItems(json, data.GetExpertColorFeaturesList());
    json.Key("deviceLinks");
    writeDeviceLinks(json, data.GetExpertColorFeaturesList());
    json.Key("summary");
    writeSummary(json, data);
    json.Key("jobTicket");
    writeJobTicket(json, data, ticket);
    json.EndObject();
}
