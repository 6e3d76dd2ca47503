#pragma once
// What the update tests share: a scripted HTTP server on 127.0.0.1 served by
// the test's own event loop, archives with any entry names, a fake program
// file of this machine's kind, and a recorder of message boxes.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "transfer/zip_support.h"

namespace vektrano::test {

struct Response {
  std::string raw;           // sent as it stands
  bool abort = false;        // then the connection is reset instead of closed
  int restAfterMs = -1;      // >= 0: rest is sent that much later
  std::string rest;
};

inline Response raw(std::string text) {
  Response r;
  r.raw = std::move(text);
  return r;
}
inline std::string head200(size_t length) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n";
}
inline Response httpOk(const std::string& body) { return raw(head200(body.size()) + body); }
inline Response httpStatus(int code, const std::string& text) {
  return raw("HTTP/1.1 " + std::to_string(code) + " " + text +
             "\r\nContent-Length: 5\r\nConnection: close\r\n\r\nfault");
}
// Announces the whole body, sends half of it and closes (or resets).
inline Response httpShort(const std::string& body, bool reset) {
  Response r = raw(head200(body.size()) + body.substr(0, body.size() / 2));
  r.abort = reset;
  return r;
}
// Sends the first half at once and the rest after ms.
inline Response httpSlow(const std::string& body, int ms) {
  Response r = raw(head200(body.size()) + body.substr(0, body.size() / 2));
  r.restAfterMs = ms;
  r.rest = body.substr(body.size() / 2);
  return r;
}

class LoopbackServer {
 public:
  LoopbackServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { onData(s); });
        QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
      }
    });
  }

  void route(const std::string& path, Response r) { routes_[path] = std::move(r); }
  // "http://127.0.0.1:port", the update server's address.
  std::string base() const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()); }
  // Paths asked for, the query cut off.
  std::vector<std::string> paths;
  std::vector<std::string> targets;  // whole request targets

 private:
  void onData(QTcpSocket* s) {
    std::string& buf = buffers_[s];
    buf += s->readAll().toStdString();
    const size_t end = buf.find("\r\n\r\n");
    if (end == std::string::npos) return;
    const std::string first = buf.substr(0, buf.find("\r\n"));
    buffers_.erase(s);
    const size_t a = first.find(' '), b = first.rfind(' ');
    const std::string target = first.substr(a + 1, b - a - 1);
    targets.push_back(target);
    const std::string path = target.substr(0, target.find('?'));
    paths.push_back(path);
    auto it = routes_.find(path);
    const Response r = it != routes_.end() ? it->second : httpStatus(404, "Not Found");
    s->write(r.raw.data(), static_cast<qint64>(r.raw.size()));
    s->flush();
    if (r.restAfterMs >= 0) {
      QTimer::singleShot(r.restAfterMs, s, [s, rest = r.rest] {
        s->write(rest.data(), static_cast<qint64>(rest.size()));
        s->disconnectFromHost();
      });
      return;
    }
    if (r.abort) {
      s->abort();
      return;
    }
    s->disconnectFromHost();
  }

  QTcpServer server_;
  std::map<std::string, Response> routes_;
  std::map<QTcpSocket*, std::string> buffers_;
};

inline void writeFile(const std::string& path, const std::string& data) {
  std::filesystem::create_directories(platform::fsPath(path).parent_path());
  std::ofstream(platform::fsPath(path), std::ios::binary) << data;
}
inline std::string readFile(const std::string& path) {
  return platform::readWholeFile(path).value_or("<missing>");
}

inline std::string le16(uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
inline std::string le32(uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

// An archive of stored entries with exactly these names (the reader walks
// the local headers, so none of the directory is needed).
inline std::string storedZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string out;
  for (const auto& [name, data] : entries)
    out += le32(0x04034B50) + le16(20) + le16(0) + le16(0) + le16(0) + le16(0x5A21) +
           le32(transfer::Crc32(data)) + le32(static_cast<uint32_t>(data.size())) +
           le32(static_cast<uint32_t>(data.size())) + le16(static_cast<uint32_t>(name.size())) + le16(0) + name +
           data;
  return out + le32(0x06054B50) + std::string(18, '\0');
}

// A program file this machine would take: the running program's ELF header
// followed by a payload that tells versions apart.
inline std::string fakeProgram(const std::string& payload) {
  const std::string self = readFile(platform::executablePath());
  return self.substr(0, 64) + payload;
}

inline unsigned modeOf(const std::string& path) {
  return static_cast<unsigned>(std::filesystem::status(platform::fsPath(path)).permissions()) & 0777;
}

// Records every box; questions take the answer asked for.
class MessageRecorder {
 public:
  explicit MessageRecorder(bool answerYes = true) : answerYes_(answerYes) {
    previous_ = platform::setMessageHandler([this](const platform::Message& m) {
      texts.push_back(m.text);
      if (m.kind == platform::MessageKind::Question) return answerYes_ ? platform::Answer::Yes : platform::Answer::No;
      return platform::Answer::Ok;
    });
  }
  ~MessageRecorder() { platform::setMessageHandler(previous_); }
  bool saw(const std::string& part) const {
    for (const std::string& t : texts)
      if (t.find(part) != std::string::npos) return true;
    return false;
  }
  int count(const std::string& part) const {
    int n = 0;
    for (const std::string& t : texts) n += t.find(part) != std::string::npos;
    return n;
  }
  std::vector<std::string> texts;

 private:
  bool answerYes_;
  platform::MessageHandler previous_;
};

}  // namespace vektrano::test
