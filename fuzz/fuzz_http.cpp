// The HTTP component's own handling of what a server sends: the reply's
// status and headers, its Content-Length, redirects, the body into the
// target file; and its URL splitting. The input: a path, then the raw reply
// that a server on 127.0.0.1 sends to every request (see fuzz::parts).
// Every other host is sent to a proxy that is not there, so nothing leaves
// this machine.
//
// Property: the target file holds its old content or the whole body of a
// reply that succeeded, never a part.
#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdlib>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "platform/files.h"
#include "transfer/http.h"

namespace {

QTcpServer* server = nullptr;
QByteArray reply;

void serve() {
  while (QTcpSocket* s = server->nextPendingConnection()) {
    QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    QObject::connect(s, &QTcpSocket::readyRead, s, [s] {
      s->readAll();
      if (s->property("answered").toBool()) return;
      s->setProperty("answered", true);
      s->write(reply);
      s->disconnectFromHost();
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  vektrano::fuzz::setUp();
  for (const char* v : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
    ::setenv(v, "http://127.0.0.1:9", 1);
  ::unsetenv("no_proxy");
  ::unsetenv("NO_PROXY");
  new QCoreApplication(*argc, *argv);
  server = new QTcpServer;
  if (!server->listen(QHostAddress::LocalHost, 0)) vektrano::fuzz::fail("no local server");
  QObject::connect(server, &QTcpServer::newConnection, serve);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vektrano;
  const std::vector<std::string> p = fuzz::parts(fuzz::bytes(data, size), 2);
  std::string host, path;
  transfer::SplitUrl(p[0], host, path);
  reply = QByteArray::fromStdString(p[1]);

  const std::string target = platform::joinPath(fuzz::scratch(), "stazeno.upd");
  fuzz::writeFile(target, "old");
  std::string urlPath = p[0].substr(0, 200);
  for (char& c : urlPath)
    if (static_cast<unsigned char>(c) < 0x21 || c == '#' || c == '?') c = '_';
  transfer::THTTPGet get;
  get.URL = "http://127.0.0.1:" + std::to_string(server->serverPort()) + "/" + urlPath;
  get.FileName = target;
  get.TimeoutMs = 1500;
  get.WaitThread = true;
  get.BinaryData = size > 0 && (data[0] & 1);
  bool done = false;
  int reported = -1;
  get.OnDoneFile = [&](transfer::THTTPGet&, const std::string&, int length) {
    done = true;
    reported = length;
  };
  get.StartDownload();

  const auto content = platform::readWholeFile(target);
  if (!content) fuzz::fail("the target file went missing");
  if (done ? static_cast<int>(content->size()) != reported : *content != "old")
    fuzz::fail(done ? "the file does not hold the whole body" : "a failed download changed the file");
  return 0;
}
