//===- Faults.cpp - Failures tovrane-server can be told to show -----------===//
#include "Faults.h"

namespace tovrane::server {

namespace {

bool FaultNamed(std::string_view name, Fault& fault) {
    if (name == "error")
        fault = Fault::Error;
    else if (name == "garbage")
        fault = Fault::Garbage;
    else if (name == "close")
        fault = Fault::Close;
    else
        return false;
    return true;
}

} // namespace

bool FaultPlan::Add(std::string_view what) {
    if (what == "all") {
        mAll = Fault::Error;
        return true;
    }
    Fault fault = Fault::Error;
    if (what == "garbage" || what == "close")
        return FaultNamed(what, mAll);
    size_t colon = what.find(':');
    if (colon != std::string_view::npos) {
        if (!FaultNamed(what.substr(0, colon), fault))
            return false;
        what = what.substr(colon + 1);
    }
    protocol::Endpoint endpoint;
    if (!protocol::EndpointFromName(what, endpoint))
        return false;
    mNamed[static_cast<size_t>(endpoint)] = fault;
    return true;
}

Fault FaultPlan::For(protocol::Endpoint endpoint) const {
    Fault named = mNamed[static_cast<size_t>(endpoint)];
    if (named != Fault::None)
        return named;
    return endpoint == protocol::Endpoint::Hello ? Fault::None : mAll;
}

} // namespace tovrane::server
