//===- ServerFeatures.h - The print server's feature list ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_SERVERFEATURES_H
#define PIGMENTOR_BRIVELLE_SERVERFEATURES_H

#include "SessionBasedClass.h"

/// The server's feature list: names with value texts, read once, telling among other things
/// whether the server offers the colour features ("Pigmentor" with the value "1"). It needs
/// no SDK session.
///
/// Ownership: owned by the connection, which creates it on first request. The two arrays
/// come from the SDK and are released with `tovrane_free` in the destructor; names and values
/// handed out are not to be freed and live as long as this object. Texts are UTF-8.
class ServerFeatures : public SessionBasedClass {
public:
    /// Nothing fetched (count -1).
    explicit ServerFeatures(Brivelle* owner);
    ~ServerFeatures() override;

    /// Nothing to open; 0.
    long OpenSession() override;
    /// A new ticket; no request is made.
    AsyncTicket* OpenSessionAsync() override;
    /// Nothing to close; 0.
    long CloseSession() override;
    /// A pending open completes: the session counts as open.
    void AsyncCompletion(AsyncTicket* ticket) override;

    /// Reads the list unless it is known; true when it is known now. The status of a fetch
    /// becomes the last error.
    bool GetFeaturesList();
    /// The number of features, read first while unknown; -1 when the read failed.
    int GetFeatureCount();
    /// Feature `i`'s name and value text; both null outside 0..count-1.
    void GetFeatureNameAndValue(int i, char*& name, char*& value);
    /// True when a feature is named exactly `name` (the first such one counts) and its value
    /// is exactly "1".
    bool SupportsNamedFeature(const char* name);
    /// SupportsNamedFeature("Pigmentor").
    bool SupportsPigmentor();

private:
    char** mFeatureNames;
    char** mFeatureValues;
    int mCount;
};

#endif // PIGMENTOR_BRIVELLE_SERVERFEATURES_H
