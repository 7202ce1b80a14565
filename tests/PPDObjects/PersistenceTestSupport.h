// Archives of the model for the persistence tests: the keys of an archive in order, flattening
// and rebuilding, an archive as a machine of the other byte order writes it, and a text of
// every field an archive keeps, to compare two models by.
#ifndef PIGMENTOR_TESTS_PERSISTENCETESTSUPPORT_H
#define PIGMENTOR_TESTS_PERSISTENCETESTSUPPORT_H

#include "ParseTestSupport.h"

#include "../platform/CarbonCore/CollectionFormBuilder.h"

#include "PPDXBooleanControl.h"
#include "PPDXFloatRangeControl.h"
#include "PPDXGroups.h"
#include "PPDXJobNote.h"
#include "PPDXPopupControl.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXRangeControl.h"
#include "PPDXRollDown.h"
#include "PPDXScrollPane.h"
#include "PPDXShortcuts.h"
#include "PPDXSpecialOption.h"
#include "Settings.h"

#include <CarbonCore/MacMemory.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

/// A tag as its four characters when they are letters, else its number.
inline std::string TagName(unsigned long tag) {
    std::string name;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((tag >> shift) & 0xFF);
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return std::to_string(tag);
        name += c;
    }
    return name;
}

/// The keys of `settings` in order, as "Tag/id".
inline std::vector<std::string> Keys(Settings& settings) {
    std::vector<std::string> keys;
    unsigned long tag;
    long id, size, attributes;
    for (short e = settings.First(tag, id, size, attributes); e == 0;
         e = settings.Next(tag, id, size, attributes))
        keys.push_back(TagName(tag) + "/" + std::to_string(id));
    return keys;
}

/// The bytes of an item ("<missing>" when there is none).
inline std::string Bytes(Settings& settings, unsigned long tag, long id) {
    long size = 0;
    if (settings.Get(tag, id, nullptr, size, false) != 0)
        return "<missing>";
    std::string bytes(static_cast<size_t>(size), '\0');
    settings.Get(tag, id, &bytes[0], size, false);
    return bytes;
}

/// A 4-byte number item as this machine reads it (-12345 when missing or of another size).
inline long Number(Settings& settings, unsigned long tag, long id) {
    int32_t value = 0;
    long size = sizeof value;
    if (settings.Get(tag, id, nullptr, size, false) != 0 || size != 4)
        return -12345;
    settings.Get(tag, id, &value, size, false);
    return value;
}

/// Adds a text item (no NUL) or a 4-byte number item of this machine's byte order.
inline void PutText(Settings& s, unsigned long tag, long id, const char* text) {
    s.Add(tag, id, const_cast<char*>(text), static_cast<long>(std::strlen(text)));
}
inline void PutInt(Settings& s, unsigned long tag, long id, int32_t value) {
    s.Add(tag, id, &value, sizeof value);
}

/// The flattened form of `settings`.
inline std::vector<UInt8> Flatten(Settings& settings) {
    char** handle = nullptr;
    if (settings.GetSettingsHandle(&handle) != 0 || !handle)
        return {};
    std::vector<UInt8> bytes = formbuilder::HandleBytes(handle);
    DisposeHandle(handle);
    return bytes;
}

/// The model rebuilt from flattened bytes (the caller releases it); `ppd` may be null.
inline QRVPPD* Rebuild(const std::vector<UInt8>& bytes, CFArrayRef names = nullptr,
                       CFURLRef ppd = nullptr) {
    Handle block = formbuilder::NewHandleWith(bytes);
    Settings settings(block);
    DisposeHandle(block);
    return new QRVPPD(settings, ppd, names);
}

/// The items of `settings` as a machine of the other byte order writes them: numbers and
/// UTF-16 names reversed unit by unit, the FSSpec's volume and directory id
/// reversed, texts and markers as they are.
inline std::vector<UInt8> OtherByteOrder(Settings& settings) {
    static const std::set<std::string> numbers = {
        "isVs", "SPPg",      "SApp",      "BCcV",      "BCdV",      "PCMS",     "PCIC", "PCIS",
        "RCVl", "RCMn",      "RCMx",      "RCIn",      "RCDf",      "jMxL",     "jMnL", "jNtF",
        "jNOn", "1000/1001", "3000/3002", "4000/4002", "5000/5002", "StCt/6000"};
    std::vector<formbuilder::Item> items;
    unsigned long tag;
    long id, size, attributes;
    for (short e = settings.First(tag, id, size, attributes); e == 0;
         e = settings.Next(tag, id, size, attributes)) {
        std::string bytes = Bytes(settings, tag, id);
        std::string name = TagName(tag);
        auto reverse = [&bytes](size_t at, size_t count) {
            std::reverse(bytes.begin() + at, bytes.begin() + at + count);
        };
        if (name == "1000" && id == 1002 && bytes.size() == 70) {
            reverse(0, 2);
            reverse(2, 4);
        } else if (name == "Ordr" || name == "LcCF" || name == "PCFN") {
            for (size_t at = 0; at + 2 <= bytes.size(); at += 2)
                reverse(at, 2);
        } else if ((numbers.count(name) || numbers.count(name + "/" + std::to_string(id))) &&
                   bytes.size() == 4) {
            reverse(0, 4);
        }
        items.push_back({static_cast<UInt32>(tag), static_cast<SInt32>(id),
                         static_cast<UInt32>(attributes),
                         std::vector<UInt8>(bytes.begin(), bytes.end())});
    }
    return formbuilder::Build(items, formbuilder::kHostIsLittleEndian);
}

/// UTF-8 of a string that is not released here; "-" for null.
inline std::string Utf8(CFStringRef s) {
    return s ? PMCFStringCopyUTF8(s) : "-";
}

inline std::string Text(const char* s) {
    return s ? std::string("'") + s + "'" : "-";
}

inline std::string Code(const unsigned char* bytes, long length) {
    return bytes && length > 0 ? "[" +
                                     std::string(reinterpret_cast<const char*>(bytes),
                                                 static_cast<size_t>(length)) +
                                     "]"
                               : "-";
}

inline std::string ParentOf(const PPDXElement& e) {
    return e.GetParent() ? Text(e.GetParent()->Keyword()) : "-";
}

/// One line per element, with every field a model archive keeps, in model order.
inline std::string ModelText(QRVPPD& ppd) {
    ScopedDisplayOptions everything(kShowAll);
    std::string t = "header " + Text(ppd.FormatVersion()) + Text(ppd.FileVersion()) +
                    Text(ppd.PCFileName()) + Text(ppd.LanguageVersion()) +
                    Text(ppd.LanguageEncoding()) + Text(ppd.ModelName()) +
                    Text(ppd.ExtensionFileVersion()) + Text(ppd.ExtensionVersion()) + "\n";
    auto element = [](const PPDXElement& e) {
        return Text(e.Keyword()) + " " + Utf8(e.CFStringUserName()) + " visible " +
               std::to_string(e.IsVisible()) + " parent " + ParentOf(e);
    };
    if (PPDXProperties* pages = ppd.GetProperties())
        for (PPDXProperty* p = pages->First(); p; p = pages->Next())
            t += "page " + element(*p) + " prop " + std::to_string(p->ShowInPrintProp()) + " app " +
                 std::to_string(p->ShowInApp()) + " pane " +
                 (p->GetScrollDown() ? Text(p->GetScrollDown()->Keyword()) : "-") + "\n";
    if (PPDXGroups* groups = ppd.GetGroups())
        for (PPDXGroup* g = groups->First(); g; g = groups->Next()) {
            std::string kind = "group";
            if (auto* r = dynamic_cast<PPDXRollDown*>(g))
                kind = "rolldown(" + std::to_string(r->Controls()->PopupCount()) + ")";
            else if (auto* s = dynamic_cast<PPDXScrollPane*>(g))
                kind = "scrollpane(" + std::to_string(s->RollDowns()->Count()) + ")";
            t += kind + " " + element(*g) + "\n";
        }
    CNTL_TYPE type;
    PPDXControls* all = ppd.GetControls();
    for (PPDXControl* c = all ? all->First(type) : nullptr; c; c = all->Next(type)) {
        t += "control " + std::to_string(type) + " " + element(*c) + " order " +
             std::to_string(c->Order()) + " code " + Code(c->PSData(), c->PSLength()) + " flags";
        for (const char* f = c->FirstControlFlag(); f; f = c->NextControlFlag())
            t += std::string(" ") + f;
        if (auto* p = dynamic_cast<PPDXPopupControl*>(c)) {
            t += " many " + std::to_string(p->CanSelectMultipleItems()) + " default " +
                 Text(p->GetDefaultKeyword()) + " current " +
                 (p->CurrentItem() ? Text(p->CurrentItem()->Keyword()) : "-");
            for (_PopupItem* i = p->FirstItem(); i; i = p->NextItem())
                t += "\n  item " + Text(i->Keyword()) + " " + Utf8(i->mLocalName) + " " +
                     Code(i->mPSData, i->PSLength()) + " selected " + std::to_string(i->mSelected);
        } else if (auto* b = dynamic_cast<PPDXBooleanControl*>(c)) {
            t += " value " + std::to_string(b->IsTrue()) + " default " +
                 std::to_string(b->DefaultState()) + " " + Text(b->TrueDisplayText()) +
                 Text(b->FalseDisplayText()) + Code(b->TruePSData(), b->TruePSLength()) +
                 Code(b->FalsePSData(), b->FalsePSLength());
        } else if (auto* r = dynamic_cast<PPDXRangeControl*>(c)) {
            t += " range " + std::to_string(r->GetValue()) + " " + std::to_string(r->MinVal()) +
                 " " + std::to_string(r->MaxVal()) + " " + std::to_string(r->Increment()) + " " +
                 std::to_string(r->DefaultValue());
        } else if (auto* f = dynamic_cast<PPDXFloatRangeControl*>(c)) {
            t += " float " + std::to_string(f->GetValue()) + " " + std::to_string(f->MinVal()) +
                 " " + std::to_string(f->MaxVal()) + " " + std::to_string(f->Increment()) + " " +
                 std::to_string(f->DefaultValue());
        } else if (auto* n = dynamic_cast<PPDXJobNote*>(c)) {
            t += " note " + Text(n->GetNotes()) + Text(n->GetDefaultNotes()) + " " +
                 std::to_string(n->MaxLength()) + " " + std::to_string(n->MinLength()) + " " +
                 std::to_string(n->Flags()) + " on " + std::to_string(n->GetNotesOnValue()) +
                 " encoding " + Text(n->LanguageEncoding());
        } else if (auto* s = dynamic_cast<PPDXSpecialOption*>(c)) {
            t += " value " +
                 Text(s->GetValue() ? static_cast<const char*>(*s->GetValue()) : nullptr);
        }
        t += "\n";
    }
    t += "shortcuts";
    if (PPDXShortcuts* shortcuts = ppd.GetShortcuts())
        for (ConstPointerListItr it = shortcuts->Controls().Begin();
             it != shortcuts->Controls().End(); ++it) {
            auto* c = static_cast<const PPDXControl*>(*it);
            t += " " + (c ? Text(c->Keyword()) : std::string("null"));
        }
    return t + "\n";
}

#endif // PIGMENTOR_TESTS_PERSISTENCETESTSUPPORT_H
