//===- DeviceCalls.cpp - DEV_ calls ---------------------------------------===//
#include "CBlocks.h"
#include "Call.h"
#include "Guard.h"
#include "Operations.h"
#include "ReplyDecoder.h"
#include "RequestBuilder.h"

#include <t10.h>

using namespace tovrane::client;
using tovrane::protocol::Endpoint;

namespace {

/// The pretty names, fetched for a count or a list.
t10_status FetchNames(Connection& connection, Progress* progress,
                      std::vector<std::string>& names) {
    return Ask(connection, Endpoint::Devices, "{}", progress,
               [&](std::string_view reply) { return DecodeDevices(reply, names); });
}

} // namespace

extern "C" t10_status DEV_getNumDevices(tovrane_server* handle, int32_t* count, void* reserved) {
    return Guard([&]() -> t10_status {
        if (!count)
            return T10_ERR_PARAM;
        *count = 0;
        std::shared_ptr<Connection> connection;
        t10_status status = BeginOnHandle(handle, reserved, connection);
        std::vector<std::string> names;
        if (status == T10_OK)
            status = FetchNames(*connection, nullptr, names);
        if (status == T10_OK)
            *count = static_cast<int32_t>(names.size());
        return status;
    });
}

extern "C" t10_status DEV_getPrettyDeviceNameList(tovrane_server* handle, char*** names,
                                                  int32_t* count, tovrane_ticket* ticket) {
    return Guard([&]() -> t10_status {
        if (!names || !count)
            return T10_ERR_PARAM;
        *names = nullptr;
        *count = 0;
        std::shared_ptr<Connection> connection;
        t10_status status = FindConnection(handle, connection);
        if (status != T10_OK)
            return status;
        auto fetched = std::make_shared<std::vector<std::string>>();
        Work work;
        work.run = [connection, fetched](Progress& progress) {
            return FetchNames(*connection, &progress, *fetched);
        };
        work.publish = [fetched, names, count](t10_status result) -> t10_status {
            if (result != T10_OK || fetched->empty())
                return result;
            if (!(*names = MakeStringArray(*fetched)))
                return T10_ERR_NO_MEMORY;
            *count = static_cast<int32_t>(fetched->size());
            return T10_OK;
        };
        return Perform(ticket, connection, std::move(work));
    });
}

extern "C" t10_status DEV_getTrayInfo(tovrane_server* handle, int32_t device,
                                      t10_tray_record** records, int32_t* count, void* reserved) {
    return Guard([&]() -> t10_status {
        if (!records || !count)
            return T10_ERR_PARAM;
        *records = nullptr;
        *count = 0;
        if (device < 0)
            return T10_ERR_PARAM;
        std::shared_ptr<Connection> connection;
        t10_status status = BeginOnHandle(handle, reserved, connection);
        if (status != T10_OK)
            return status;
        std::vector<Tray> trays;
        status = Ask(*connection, Endpoint::Trays, RequestBuilder().Int("device", device).Body(),
                     nullptr, [&](std::string_view reply) { return DecodeTrays(reply, trays); });
        if (status != T10_OK || trays.empty())
            return status;
        if (!(*records = MakeTrayRecords(trays)))
            return T10_ERR_NO_MEMORY;
        *count = static_cast<int32_t>(trays.size());
        return T10_OK;
    });
}

extern "C" t10_status DEV_getMessages(tovrane_server* handle, int32_t device, char** first,
                                      char** second, void* reserved) {
    return Guard([&]() -> t10_status {
        if (!first || !second)
            return T10_ERR_PARAM;
        *first = nullptr;
        *second = nullptr;
        if (device < 0)
            return T10_ERR_PARAM;
        std::shared_ptr<Connection> connection;
        t10_status status = BeginOnHandle(handle, reserved, connection);
        if (status != T10_OK)
            return status;
        Messages messages;
        status =
            Ask(*connection, Endpoint::Messages, RequestBuilder().Int("device", device).Body(),
                nullptr, [&](std::string_view reply) { return DecodeMessages(reply, messages); });
        if (status != T10_OK)
            return status;
        char* a = messages.hasFirst ? MakeString(messages.first) : nullptr;
        char* b = messages.hasSecond ? MakeString(messages.second) : nullptr;
        if ((messages.hasFirst && !a) || (messages.hasSecond && !b)) {
            tovrane_free(a);
            tovrane_free(b);
            return T10_ERR_NO_MEMORY;
        }
        *first = a;
        *second = b;
        return T10_OK;
    });
}
