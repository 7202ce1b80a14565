//===- DataStream.cpp - Abstract byte stream for archives -----------------===//
#include "DataStream.h"

DataStream::~DataStream() = default;

bool DataStream::dataExists() const {
    return mSize != 0;
}

bool DataStream::valid() const {
    return mValid;
}

unsigned long DataStream::dataSize() const {
    return mSize;
}
