//===- CountingProxy.cpp - A loopback relay that counts requests ----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "CountingProxy.h"

#include <httplib.h>

CountingProxy::CountingProxy(int targetPort) : mServer(std::make_unique<httplib::Server>()) {
    mServer->Post(R"(/v1/([a-z_]{1,32}))",
                  [this, targetPort](const httplib::Request& request, httplib::Response& response) {
                      ++mCount;
                      httplib::Client client("127.0.0.1", targetPort);
                      client.set_read_timeout(30, 0);
                      auto reply = client.Post(request.path, request.body, "application/json");
                      if (!reply) {
                          response.status = 502;
                          return;
                      }
                      response.status = reply->status;
                      response.set_content(reply->body, reply->get_header_value("Content-Type"));
                  });
    mPort = mServer->bind_to_any_port("127.0.0.1");
    if (mPort > 0)
        mThread = std::thread([this] { mServer->listen_after_bind(); });
}

CountingProxy::~CountingProxy() {
    mServer->stop();
    if (mThread.joinable())
        mThread.join();
}
