//===- Handles.cpp - Server handles and the connections behind them -------===//
#include "Handles.h"

#include <map>
#include <mutex>
#include <new>

namespace tovrane::client {

namespace {

struct Table {
    std::mutex mutex;
    std::map<const tovrane_server*, std::shared_ptr<Connection>> handles;
};

// Never destroyed, like the other tables: operations may outlive main().
Table& Handles() {
    static Table* table = new Table;
    return *table;
}

} // namespace

tovrane_server* RegisterHandle(std::shared_ptr<Connection> connection) {
    auto* handle = new (std::nothrow) tovrane_server;
    if (!handle)
        return nullptr;
    handle->connected = 1;
    Table& table = Handles();
    std::lock_guard<std::mutex> lock(table.mutex);
    table.handles.emplace(handle, std::move(connection));
    return handle;
}

t10_status FindConnection(const tovrane_server* handle, std::shared_ptr<Connection>& out) {
    out.reset();
    Table& table = Handles();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.handles.find(handle);
    if (it == table.handles.end() || it->second->retired.load())
        return T10_ERR_NOT_CONNECTED;
    out = it->second;
    return T10_OK;
}

t10_status DisconnectHandle(tovrane_server* handle) {
    Table& table = Handles();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.handles.find(handle);
    if (it == table.handles.end() || it->second->retired.load())
        return T10_ERR_NOT_CONNECTED;
    it->second->retired.store(true);
    it->second->CloseIdleSockets();
    // The caller may read the word from another thread; write it as the atomic it is there.
    __atomic_store_n(&handle->connected, 0, __ATOMIC_RELEASE);
    return T10_OK;
}

void ReapHandles() {
    Table& table = Handles();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (auto it = table.handles.begin(); it != table.handles.end();) {
        if (it->second->retired.load()) {
            delete it->first;
            it = table.handles.erase(it);
        } else {
            ++it;
        }
    }
}

size_t HandleCount() {
    Table& table = Handles();
    std::lock_guard<std::mutex> lock(table.mutex);
    return table.handles.size();
}

} // namespace tovrane::client
