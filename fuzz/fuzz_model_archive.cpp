// The PPD model rebuilt from arbitrary archive bytes, as the pane rebuilds it from the block it
// finds in the print settings ticket: the block is unflattened, the model rebuilt and walked as
// the dialog and the job ticket would walk it, saved again, rebuilt from that, and given the
// original archive's values. A model saved, rebuilt and saved again must give the same bytes.
#include "PPDXControl.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXGroup.h"
#include "PPDXGroups.h"
#include "PPDXPopupControl.h"
#include "PPDXProperties.h"
#include "PPDXProperty.h"
#include "PPDXScrollPane.h"
#include "PPDXShortcuts.h"
#include "QRVPPD.h"
#include "Settings.h"

#include <CarbonCore/MacMemory.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

/// The flattened form of `settings`; empty when it cannot be had.
std::vector<uint8_t> flatten(Settings& settings) {
    char** handle = nullptr;
    if (settings.GetSettingsHandle(&handle) != 0 || !handle)
        return {};
    const uint8_t* first = reinterpret_cast<const uint8_t*>(*handle);
    std::vector<uint8_t> bytes(first, first + GetHandleSize(handle));
    DisposeHandle(handle);
    return bytes;
}

/// The model saved and flattened; empty when the save fails.
std::vector<uint8_t> saved(QRVPPD& ppd) {
    Settings settings;
    if (!settings.Valid() || !ppd.Save(settings))
        return {};
    return flatten(settings);
}

QRVPPD* rebuild(const std::vector<uint8_t>& bytes) {
    Handle block = nullptr;
    if (PtrToHand(bytes.data(), &block, static_cast<long>(bytes.size())) != noErr)
        return nullptr;
    Settings settings(block);
    DisposeHandle(block);
    return new QRVPPD(settings, nullptr, nullptr);
}

void walk(QRVPPD& ppd) {
    ScopedDisplayOptions all(kShowAll);
    if (PPDXProperties* pages = ppd.GetProperties())
        for (PPDXProperty* p = pages->First(); p; p = pages->Next())
            if (p->GetScrollDown())
                (void)p->GetScrollDown()->Keyword();
    if (PPDXGroups* groups = ppd.GetGroups())
        for (PPDXGroup* g = groups->First(); g; g = groups->Next())
            (void)g->UserName();
    if (PPDXShortcuts* shortcuts = ppd.GetShortcuts())
        for (PPDXPopupControl* p = shortcuts->First(); p; p = shortcuts->Next())
            (void)p->GetValue();
    PPDXControls* controls = ppd.GetControls();
    CNTL_TYPE type;
    for (PPDXControl* c = controls ? controls->First(type) : nullptr; c; c = controls->Next(type)) {
        (void)c->UserName();
        for (const char* flag = c->FirstControlFlag(); flag; flag = c->NextControlFlag())
            (void)flag;
        if (auto* popup = dynamic_cast<PPDXPopupControl*>(c))
            for (_PopupItem* item = popup->FirstItem(); item; item = popup->NextItem())
                (void)item->displayName();
        long size = c->PostScript(nullptr);
        if (size > 0 && size < (1L << 24)) {
            std::vector<unsigned char> out(static_cast<size_t>(size));
            if (c->PostScript(out.data()) != size)
                std::abort();
        }
    }
}

/// What the user interface does to every control after the rebuild.
void change(QRVPPD& ppd) {
    ScopedDisplayOptions all(kShowAll);
    PPDXControls* controls = ppd.GetControls();
    CNTL_TYPE type;
    for (PPDXControl* c = controls ? controls->First(type) : nullptr; c; c = controls->Next(type)) {
        if (CFStringRef value = c->GetCurrentControlValueString()) {
            c->SetCurrentControlWithCFString(value);
            CFRelease(value);
        }
        c->ResetToDefaultValue();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QRVPPD* ppd = rebuild(std::vector<uint8_t>(data, data + size));
    if (!ppd)
        return 0;
    walk(*ppd);

    std::vector<uint8_t> once = saved(*ppd);
    if (!once.empty()) {
        QRVPPD* again = rebuild(once);
        if (again) {
            walk(*again);
            if (saved(*again) != once)
                std::abort();
            again->Release();
        }
    }

    // The original archive's values into the rebuilt model, as into a freshly parsed one.
    Handle block = nullptr;
    if (PtrToHand(data, &block, static_cast<long>(size)) == noErr) {
        Settings settings(block);
        DisposeHandle(block);
        if (settings.Valid())
            (void)ppd->Restore(settings);
    }
    change(*ppd);
    walk(*ppd);
    ppd->Release();
    return 0;
}
