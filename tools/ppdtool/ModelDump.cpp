//===- ModelDump.cpp - A PPD model as JSON --------------------------------===//
#include "ModelDump.h"

#include "JsonWriter.h"

#include "ConstraintForest.h"
#include "PPDXBooleanControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
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
#include "QRVPPD.h"

#include <CoreFoundation/PMCFUtilities.h>

#include <string>

namespace {

void name(JsonWriter& json, CFStringRef text) {
    if (text)
        json.String(PMCFStringCopyUTF8(text));
    else
        json.Null();
}

void parentKeyword(JsonWriter& json, const PPDXElement& element) {
    json.Key("parent");
    json.String(element.GetParent() ? element.GetParent()->Keyword() : nullptr);
}

void header(JsonWriter& json, QRVPPD& ppd) {
    json.Key("header");
    json.BeginObject();
    const struct {
        const char* key;
        const char* value;
    } fields[] = {
        {"formatVersion", ppd.FormatVersion()},
        {"fileVersion", ppd.FileVersion()},
        {"pcFileName", ppd.PCFileName()},
        {"languageVersion", ppd.LanguageVersion()},
        {"languageEncoding", ppd.LanguageEncoding()},
        {"modelName", ppd.ModelName()},
        {"extensionFileVersion", ppd.ExtensionFileVersion()},
        {"extensionVersion", ppd.ExtensionVersion()},
    };
    for (const auto& field : fields) {
        json.Key(field.key);
        if (field.value)
            json.Bytes(reinterpret_cast<const unsigned char*>(field.value),
                       static_cast<long>(std::char_traits<char>::length(field.value)));
        else
            json.Null();
    }
    json.EndObject();
}

void errors(JsonWriter& json, QRVPPD& ppd) {
    json.Key("errors");
    json.BeginArray();
    PointerList none;
    const PointerList& list = ppd.GetErrors() ? ppd.GetErrors()->List() : none;
    for (ConstPointerListItr it = list.Begin(); it != list.End(); ++it) {
        const PPDXErrorObj* error = static_cast<const PPDXErrorObj*>(*it);
        json.BeginObject();
        json.Key("code");
        json.Number(static_cast<long>(error->Code()));
        json.Key("keyword");
        json.String(error->Keyword());
        json.Key("fatal");
        json.Bool(error->IsFatal());
        json.EndObject();
    }
    json.EndArray();
}

void properties(JsonWriter& json, QRVPPD& ppd) {
    json.Key("properties");
    json.BeginArray();
    if (PPDXProperties* pages = ppd.GetProperties()) {
        for (PPDXProperty* page = pages->First(); page; page = pages->Next()) {
            json.BeginObject();
            json.Key("keyword");
            json.String(page->Keyword());
            json.Key("name");
            name(json, page->CFStringUserName());
            json.Key("visible");
            json.Bool(page->IsVisible());
            json.Key("showInPrintProp");
            json.Bool(page->ShowInPrintProp());
            json.Key("showInApp");
            json.Bool(page->ShowInApp());
            json.Key("scrollPane");
            json.String(page->GetScrollDown() ? page->GetScrollDown()->Keyword() : nullptr);
            json.EndObject();
        }
    }
    json.EndArray();
}

const char* groupKind(PPDXGroup* group) {
    if (dynamic_cast<PPDXRollDown*>(group))
        return "rolldown";
    if (dynamic_cast<PPDXScrollPane*>(group))
        return "scrollpane";
    return "group";
}

void groups(JsonWriter& json, QRVPPD& ppd) {
    json.Key("groups");
    json.BeginArray();
    if (PPDXGroups* all = ppd.GetGroups()) {
        for (PPDXGroup* group = all->First(); group; group = all->Next()) {
            json.BeginObject();
            json.Key("keyword");
            json.String(group->Keyword());
            json.Key("name");
            name(json, group->CFStringUserName());
            json.Key("kind");
            json.String(groupKind(group));
            json.Key("visible");
            json.Bool(group->IsVisible());
            parentKeyword(json, *group);
            json.EndObject();
        }
    }
    json.EndArray();
}

void code(JsonWriter& json, const char* key, const unsigned char* bytes, long length) {
    json.Key(key);
    if (bytes && length > 0)
        json.Bytes(bytes, length);
    else
        json.Null();
}

void popupFields(JsonWriter& json, PPDXPopupControl& popup) {
    json.Key("pickMany");
    json.Bool(popup.CanSelectMultipleItems());
    json.Key("default");
    json.String(popup.GetDefaultKeyword());
    json.Key("value");
    json.String(popup.CurrentItem() ? popup.CurrentItem()->Keyword() : nullptr);
    json.Key("items");
    json.BeginArray();
    for (_PopupItem* item = popup.FirstItem(); item; item = popup.NextItem()) {
        json.BeginObject();
        json.Key("keyword");
        json.String(item->Keyword());
        json.Key("name");
        name(json, item->mLocalName);
        json.Key("selected");
        json.Bool(item->mSelected);
        code(json, "code", item->mPSData, item->PSLength());
        json.EndObject();
    }
    json.EndArray();
}

void booleanFields(JsonWriter& json, PPDXBooleanControl& boolean) {
    json.Key("value");
    json.Bool(boolean.IsTrue());
    json.Key("default");
    json.Bool(boolean.DefaultState());
    json.Key("trueText");
    json.String(boolean.TrueDisplayText());
    json.Key("falseText");
    json.String(boolean.FalseDisplayText());
    code(json, "trueCode", boolean.TruePSData(), boolean.TruePSLength());
    code(json, "falseCode", boolean.FalsePSData(), boolean.FalsePSLength());
}

template <class Range> void rangeFields(JsonWriter& json, Range& range) {
    json.Key("value");
    json.Number(range.GetValue());
    json.Key("min");
    json.Number(range.MinVal());
    json.Key("max");
    json.Number(range.MaxVal());
    json.Key("increment");
    json.Number(range.Increment());
    json.Key("default");
    json.Number(range.DefaultValue());
    code(json, "code", range.PSData(), range.PSLength());
}

void text(JsonWriter& json, const char* key, const char* value) {
    json.Key(key);
    if (value)
        json.Bytes(reinterpret_cast<const unsigned char*>(value),
                   static_cast<long>(std::char_traits<char>::length(value)));
    else
        json.Null();
}

void jobNoteFields(JsonWriter& json, PPDXJobNote& note) {
    text(json, "text", note.GetNotes());
    text(json, "defaultText", note.GetDefaultNotes());
    json.Key("maxLength");
    json.Number(note.MaxLength());
    json.Key("minLength");
    json.Number(note.MinLength());
    json.Key("noteFlags");
    json.Number(static_cast<long>(note.Flags()));
    json.Key("textEnabled");
    json.Bool(note.GetNotesOnValue());
    code(json, "code", note.PSData(), note.PSLength());
}

void specialFields(JsonWriter& json, PPDXSpecialOption& option) {
    text(json, "value", option.GetValue() ? static_cast<const char*>(*option.GetValue()) : nullptr);
}

const char* controlKind(PPDXControl* control) {
    if (dynamic_cast<PPDXFloatRangeControl*>(control))
        return "floatrange";
    switch (control->Type()) {
    case kPopupType:
        return "popup";
    case kBooleanType:
        return "boolean";
    case kRangeType:
        return "range";
    case kJobNoteType:
        return "jobnote";
    case kSpecialOptionType:
        return "special";
    default:
        return "none";
    }
}

void controls(JsonWriter& json, QRVPPD& ppd) {
    json.Key("controls");
    json.BeginArray();
    PPDXControls* all = ppd.GetControls();
    CNTL_TYPE type;
    for (PPDXControl* control = all ? all->First(type) : nullptr; control;
         control = all->Next(type)) {
        json.BeginObject();
        json.Key("keyword");
        json.String(control->Keyword());
        json.Key("name");
        name(json, control->CFStringUserName());
        json.Key("type");
        json.String(controlKind(control));
        json.Key("visible");
        json.Bool(control->IsVisible());
        parentKeyword(json, *control);
        json.Key("flags");
        json.BeginArray();
        for (const char* flag = control->FirstControlFlag(); flag;
             flag = control->NextControlFlag())
            json.String(flag);
        json.EndArray();
        if (auto* popup = dynamic_cast<PPDXPopupControl*>(control))
            popupFields(json, *popup);
        else if (auto* boolean = dynamic_cast<PPDXBooleanControl*>(control))
            booleanFields(json, *boolean);
        else if (auto* range = dynamic_cast<PPDXRangeControl*>(control))
            rangeFields(json, *range);
        else if (auto* floatRange = dynamic_cast<PPDXFloatRangeControl*>(control))
            rangeFields(json, *floatRange);
        else if (auto* note = dynamic_cast<PPDXJobNote*>(control))
            jobNoteFields(json, *note);
        else if (auto* option = dynamic_cast<PPDXSpecialOption*>(control))
            specialFields(json, *option);
        json.EndObject();
    }
    json.EndArray();
}

void shortcuts(JsonWriter& json, QRVPPD& ppd) {
    json.Key("shortcuts");
    json.BeginArray();
    if (PPDXShortcuts* list = ppd.GetShortcuts()) {
        const PointerList& entries = list->Controls();
        for (ConstPointerListItr it = entries.Begin(); it != entries.End(); ++it) {
            const PPDXControl* control = static_cast<const PPDXControl*>(*it);
            json.String(control ? control->Keyword() : nullptr);
        }
    }
    json.EndArray();
}

void constraintCounts(JsonWriter& json, QRVPPD& ppd) {
    json.Key("constraintLines");
    json.Number(static_cast<long>(ppd.GetConstraints() ? ppd.GetConstraints()->Count() : 0));
    json.Key("requiresLines");
    json.Number(static_cast<long>(ppd.GetRequires() ? ppd.GetRequires()->Count() : 0));
}

} // namespace

void DumpModel(QRVPPD& ppd, FILE* out) {
    ScopedDisplayOptions seeEverything(kShowAll);
    JsonWriter json(out);
    json.BeginObject();
    json.Key("valid");
    json.Bool(ppd.IsValidPPD());
    json.Key("validPrinterName");
    json.Bool(ppd.IsValidPrinterName());
    header(json, ppd);
    errors(json, ppd);
    properties(json, ppd);
    groups(json, ppd);
    controls(json, ppd);
    shortcuts(json, ppd);
    constraintCounts(json, ppd);
    json.EndObject();
}
