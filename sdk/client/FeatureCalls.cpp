//===- FeatureCalls.cpp - FEAT_ calls -------------------------------------===//
#include "CBlocks.h"
#include "Call.h"
#include "Guard.h"
#include "ReplyDecoder.h"

#include <t10.h>

using namespace tovrane::client;
using tovrane::protocol::Endpoint;

extern "C" t10_status FEAT_getFeatureList(tovrane_server* handle, char*** names, char*** values,
                                          int32_t* count, void* reserved) {
    return Guard([&]() -> t10_status {
        if (!names || !values || !count)
            return T10_ERR_PARAM;
        *names = nullptr;
        *values = nullptr;
        *count = 0;
        std::shared_ptr<Connection> connection;
        t10_status status = BeginOnHandle(handle, reserved, connection);
        if (status != T10_OK)
            return status;
        std::vector<Feature> features;
        status = Ask(*connection, Endpoint::Features, "{}", nullptr,
                     [&](std::string_view reply) { return DecodeFeatures(reply, features); });
        if (status != T10_OK || features.empty())
            return status;
        std::vector<std::string> featureNames, featureValues;
        for (const Feature& feature : features) {
            featureNames.push_back(feature.name);
            featureValues.push_back(feature.value);
        }
        char** nameBlock = MakeStringArray(featureNames);
        char** valueBlock = MakeStringArray(featureValues);
        if (!nameBlock || !valueBlock) {
            tovrane_free(nameBlock);
            tovrane_free(valueBlock);
            return T10_ERR_NO_MEMORY;
        }
        *names = nameBlock;
        *values = valueBlock;
        *count = static_cast<int32_t>(features.size());
        return T10_OK;
    });
}
