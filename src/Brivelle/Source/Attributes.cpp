//===- Attributes.cpp - The server's attribute service --------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "Attributes.h"

#include "AsyncTicket.h"
#include "Brivelle.h"
#include "BrivelleDebug.h"
#include "BrivelleText.h"
#include "Localization.h"

#include <climits>
#include <cstdlib>

Attributes::Attributes(Brivelle* owner) : SessionBasedClass(owner) {}

Attributes::~Attributes() {
    if (mOpen)
        CloseSession();
}

long Attributes::OpenSession() {
    return WaitAndDelete(OpenSessionAsync(), -1);
}

AsyncTicket* Attributes::OpenSessionAsync() {
    AsyncTicket* ticket = NewTicket();
    if (!ticket)
        return nullptr;
    mBoundTo = Handle();
    ticket->SetRefused(ATTR_openSession(Handle(), &mSession, ticket->GetTicket()));
    mState = kStateOpenPending;
    return ticket;
}

long Attributes::CloseSession() {
    t10_status status = ATTR_closeSession(&mSession, nullptr);
    mOpen = false;
    return status;
}

void Attributes::Rebind() {
    if (mBoundTo == Handle())
        return;
    // The old session went with its connection; closing it only frees the SDK's record.
    CloseSession();
    OpenSession();
}

void Attributes::AsyncCompletion(AsyncTicket*) {
    if (mState == kStateOpenPending)
        mOpen = true;
    mState = kStateIdle;
}

CFStringRef Attributes::GetAttributeSingleAsCFString(const char* name, int scope, bool localise) {
    char** values = nullptr;
    int32_t* kinds = nullptr;
    int32_t count = 0;
    t10_status status =
        ATTR_getAttributeValues(&mSession, scope, name, &values, &kinds, &count, nullptr);
    CFStringRef text = nullptr;
    if (status == 0 && values && count > 0 && values[0]) {
        if (localise) {
            Localization* localization = mOwner ? mOwner->GetLocalizationObject() : nullptr;
            if (localization)
                text = localization->GetKeywordString(values[0], name);
        }
        if (!text)
            text = CreateStringInAppEncoding(values[0]);
    }
    tovrane_free(values);
    tovrane_free(kinds);
    return text;
}

int Attributes::GetAttributeSingleAsInt(const char* name, int scope) {
    char** values = nullptr;
    int32_t* kinds = nullptr;
    int32_t count = 0;
    t10_status status =
        ATTR_getAttributeValues(&mSession, scope, name, &values, &kinds, &count, nullptr);
    long number = 0;
    if (status == 0 && values && count > 0 && values[0]) {
        // The server's number may be anything: clamp it into an int instead of overflowing.
        number = std::strtol(values[0], nullptr, 10);
        if (number > INT_MAX)
            number = INT_MAX;
        if (number < INT_MIN)
            number = INT_MIN;
    }
    tovrane_free(values);
    tovrane_free(kinds);
    return static_cast<int>(number);
}

int Attributes::GetTrayCount(int scope) {
    return GetAttributeSingleAsInt("vidInputNumOfTrays", scope);
}

void Attributes::CheckScopes(int scope) {
    int32_t* scopes = nullptr;
    int32_t scopeCount = 0;
    ATTR_getScopes(&mSession, scope, &scopes, &scopeCount, nullptr);
    tovrane_free(scopes);

    char** keys = nullptr;
    char** values = nullptr;
    int32_t count = 0;
    int32_t* kinds = nullptr;
    if (ATTR_getAttributeKeys(&mSession, scope, nullptr, &keys, &values, &count, &kinds, nullptr) ==
            0 &&
        keys && values) {
        for (int32_t i = 0; i < count; ++i)
            DebugConsole("%s\t\t%s", keys[i] ? keys[i] : "", values[i] ? values[i] : "");
    }
    tovrane_free(keys);
    tovrane_free(values);
    tovrane_free(kinds);
}
