#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "platform/files.h"
#include "tests/support/temp_dir.h"
#include "transfer/http.h"

using namespace vektrano;
using namespace vektrano::transfer;
using vektrano::test::TempDir;

namespace {

struct Request {
  std::string method, path, body;
  std::map<std::string, std::string> headers;  // names in lower case
};

struct Response {
  std::string raw;     // sent as it stands
  bool hang = false;   // send nothing and keep the connection open
};

Response ok(const std::string& body, const std::string& extra = {}) {
  return {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extra +
          "Connection: close\r\n\r\n" + body};
}
Response status(int code, const std::string& text, const std::string& extra = {}, const std::string& body = "fault") {
  return {"HTTP/1.1 " + std::to_string(code) + " " + text + "\r\nContent-Length: " + std::to_string(body.size()) +
          "\r\n" + extra + "Connection: close\r\n\r\n" + body};
}

// A scripted HTTP server on 127.0.0.1, served by the test's own event loop.
class Server {
 public:
  using Route = std::function<Response(const Request&)>;

  Server() {
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] { onData(s); });
        QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
      }
    });
  }

  void route(const std::string& path, Route r) { routes_[path] = std::move(r); }
  void route(const std::string& path, Response r) {
    routes_[path] = [r](const Request&) { return r; };
  }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
  }

  std::vector<Request> requests;

 private:
  void onData(QTcpSocket* s) {
    std::string& buf = buffers_[s];
    buf += s->readAll().toStdString();
    const size_t end = buf.find("\r\n\r\n");
    if (end == std::string::npos) return;
    Request r;
    size_t lineEnd = buf.find("\r\n");
    const std::string first = buf.substr(0, lineEnd);
    r.method = first.substr(0, first.find(' '));
    r.path = first.substr(r.method.size() + 1, first.rfind(' ') - r.method.size() - 1);
    for (size_t p = lineEnd + 2; p < end;) {
      const size_t e = buf.find("\r\n", p);
      const std::string line = buf.substr(p, e - p);
      const size_t colon = line.find(':');
      std::string name = line.substr(0, colon);
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      r.headers[name] = line.substr(line.find_first_not_of(' ', colon + 1));
      p = e + 2;
    }
    const size_t length = r.headers.count("content-length") ? std::stoul(r.headers["content-length"]) : 0;
    if (buf.size() < end + 4 + length) return;
    r.body = buf.substr(end + 4, length);
    buffers_.erase(s);
    requests.push_back(r);
    auto it = routes_.find(r.path);
    const Response resp = it != routes_.end() ? it->second(r) : status(404, "Not Found");
    if (resp.hang) return;
    s->write(resp.raw.data(), static_cast<qint64>(resp.raw.size()));
    s->disconnectFromHost();
  }

  QTcpServer server_;
  std::map<std::string, Route> routes_;
  std::map<QTcpSocket*, std::string> buffers_;
};

struct Outcome {
  int errors = 0;
  int done = 0;
  std::string doneName;
  int doneSize = -1;
  std::vector<std::pair<int, int>> progress;
};

void attach(THTTPGet& g, Outcome& o) {
  g.OnProgress = [&o](THTTPGet&, int total, int readed) { o.progress.emplace_back(total, readed); };
  g.OnDoneFile = [&o](THTTPGet&, const std::string& name, int size) {
    ++o.done;
    o.doneName = name;
    o.doneSize = size;
  };
  g.OnError = [&o](THTTPGet&) { ++o.errors; };
}

Outcome download(THTTPGet& g) {
  Outcome o;
  attach(g, o);
  g.WaitThread = true;
  g.StartDownload();
  return o;
}

// Processes events until done() or the time is up.
bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

void writeFile(const std::string& path, const std::string& data) {
  std::ofstream(platform::fsPath(path), std::ios::binary) << data;
}
std::string readFile(const std::string& path) { return platform::readWholeFile(path).value_or("<missing>"); }

std::set<std::string> names(const std::string& dir) {
  std::set<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) out.insert(e.path().filename().string());
  return out;
}

std::string binaryBody(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return s;
}

class HttpTest : public ::testing::Test {
 protected:
  TempDir dir;
  Server server;
};

TEST(SplitUrl, HostAndPath) {
  struct Case {
    const char* url;
    const char* host;
    const char* path;
  } cases[] = {
      {"http://example.cz/vektrano/vektrano.upd", "example.cz", "/vektrano/vektrano.upd"},
      {"HTTP://Example.cz/a", "Example.cz", "/a"},
      {"hTtP://h:8080/", "h:8080", "/"},
      {"example.cz/a/b", "example.cz", "/a/b"},
      {"example.cz", "", "example.cz"},
      {"http://", "", ""},
  };
  for (const Case& c : cases) {
    std::string host = "x", path = "x";
    SplitUrl(c.url, host, path);
    EXPECT_EQ(host, c.host) << c.url;
    EXPECT_EQ(path, c.path) << c.url;
  }
}

TEST_F(HttpTest, DownloadsBodyIntoFileWithProgressAndRequestHeaders) {
  const std::string body = binaryBody(5000);
  server.route("/vektrano/data.zip", ok(body));
  const std::string target = dir.file("data.zip");
  writeFile(target, "previous content");

  THTTPGet g;
  g.Agent = "VEKTRANO - aktualizace";
  g.Referer = "http://127.0.0.1/from";
  g.URL = server.url("/vektrano/data.zip");
  g.FileName = target;
  const Outcome o = download(g);

  EXPECT_EQ(o.errors, 0);
  ASSERT_EQ(o.done, 1);
  EXPECT_EQ(o.doneName, target);
  EXPECT_EQ(o.doneSize, 5000);
  EXPECT_EQ(readFile(target), body);
  EXPECT_EQ(names(dir.path()), std::set<std::string>{"data.zip"});

  ASSERT_GE(o.progress.size(), 5u);  // at most 1025 bytes a chunk
  int last = 0;
  for (auto [total, readed] : o.progress) {
    EXPECT_EQ(total, 5000);
    EXPECT_GT(readed, last);
    EXPECT_LE(readed - last, 1025);
    last = readed;
  }
  EXPECT_EQ(last, 5000);

  ASSERT_EQ(server.requests.size(), 1u);
  const Request& r = server.requests[0];
  EXPECT_EQ(r.method, "GET");
  EXPECT_EQ(r.headers.at("accept"), "*/*");
  EXPECT_EQ(r.headers.at("user-agent"), "VEKTRANO - aktualizace");
  EXPECT_EQ(r.headers.at("referer"), "http://127.0.0.1/from");
  EXPECT_EQ(r.headers.at("cache-control"), "no-cache");
  EXPECT_EQ(r.headers.count("authorization"), 0u);
}

// Every failure leaves an existing file as it was and creates no file, not
// even a partial one, where there was none.
TEST_F(HttpTest, FailuresNeverLeaveAPartialOrWrongFile) {
  server.route("/missing", status(404, "Not Found", "", "<html>not here</html>"));
  server.route("/broken", status(500, "Internal Server Error"));
  server.route("/truncated", Response{"HTTP/1.1 200 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n" +
                                      binaryBody(2000)});
  server.route("/nolength", Response{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nsome body"});
  server.route("/badlength", Response{"HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\nConnection: close\r\n\r\nx"});
  server.route("/loop", status(302, "Found", "Location: /loop\r\n"));

  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
  const std::string refused = "http://127.0.0.1:" + std::to_string(closed.serverPort()) + "/x";
  closed.close();

  struct Case {
    const char* name;
    std::string url;
    bool binary;
  } cases[] = {
      {"404 with a body", server.url("/missing"), false},
      {"500", server.url("/broken"), false},
      {"connection refused", refused, false},
      {"body shorter than Content-Length", server.url("/truncated"), false},
      {"no Content-Length, binary", server.url("/nolength"), true},
      {"no Content-Length, body not empty", server.url("/nolength"), false},
      {"Content-Length beyond Integer", server.url("/badlength"), false},
      {"redirect loop", server.url("/loop"), false},
      {"no host", "nohost", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir d;
    writeFile(d.file("old.zip"), "old");
    for (const std::string name : {"old.zip", "new.zip"}) {
      THTTPGet g;
      g.BinaryData = c.binary;
      g.URL = c.url;
      g.FileName = d.file(name);
      const Outcome o = download(g);
      EXPECT_EQ(o.errors, 1);
      EXPECT_EQ(o.done, 0);
    }
    EXPECT_EQ(readFile(d.file("old.zip")), "old");
    EXPECT_EQ(names(d.path()), std::set<std::string>{"old.zip"});
  }
}

TEST_F(HttpTest, EmptyBodyWithoutLengthIsAnEmptyFile) {
  server.route("/empty", Response{"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n"});
  THTTPGet g;
  g.URL = server.url("/empty");
  g.FileName = dir.file("empty.txt");
  const Outcome o = download(g);
  EXPECT_EQ(o.errors, 0);
  EXPECT_EQ(o.done, 1);
  EXPECT_EQ(o.doneSize, 0);
  EXPECT_EQ(readFile(dir.file("empty.txt")), "");
}

TEST_F(HttpTest, FollowsRedirects) {
  server.route("/old", status(302, "Found", "Location: " + server.url("/mid") + "\r\n"));
  server.route("/mid", status(301, "Moved Permanently", "Location: /new\r\n"));
  server.route("/new", ok("the new body"));
  THTTPGet g;
  g.URL = server.url("/old");
  g.FileName = dir.file("portable.txt");
  const Outcome o = download(g);
  EXPECT_EQ(o.errors, 0);
  EXPECT_EQ(o.done, 1);
  EXPECT_EQ(readFile(dir.file("portable.txt")), "the new body");
  ASSERT_EQ(server.requests.size(), 3u);
  EXPECT_EQ(server.requests[2].path, "/new");
}

TEST_F(HttpTest, SilentServerTimesOut) {
  server.route("/silent", Response{"", true});
  THTTPGet g;
  g.TimeoutMs = 300;
  g.URL = server.url("/silent");
  g.FileName = dir.file("x");
  QElapsedTimer t;
  t.start();
  const Outcome o = download(g);
  EXPECT_EQ(o.errors, 1);
  EXPECT_LT(t.elapsed(), 5000);
  EXPECT_FALSE(platform::fileExists(dir.file("x")));
}

TEST_F(HttpTest, PostSendsTheFormBody) {
  server.route("/vektrano/ver.php", [](const Request& r) { return ok("reply to " + r.body); });
  THTTPGet g;
  g.URL = server.url("/vektrano/ver.php");
  g.PostQuery = "prms=a%20b&x=1";
  g.FileName = dir.file("reply.ver");
  const Outcome o = download(g);
  EXPECT_EQ(o.done, 1);
  EXPECT_EQ(readFile(dir.file("reply.ver")), "reply to prms=a%20b&x=1");
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(server.requests[0].method, "POST");
  EXPECT_EQ(server.requests[0].headers.at("content-type"), "application/x-www-form-urlencoded");
}

TEST_F(HttpTest, CredentialsAreOfferedOnceWhenAsked) {
  // "user:secret" in Base64.
  server.route("/private", [](const Request& r) {
    auto it = r.headers.find("authorization");
    if (it != r.headers.end() && it->second == "Basic dXNlcjpzZWNyZXQ=") return ok("private body");
    return status(401, "Unauthorized", "WWW-Authenticate: Basic realm=\"upd\"\r\n");
  });
  for (const auto& [password, expectDone] : {std::pair{"secret", 1}, std::pair{"wrong", 0}}) {
    SCOPED_TRACE(password);
    server.requests.clear();
    THTTPGet g;
    g.URL = server.url("/private");
    g.UserName = "user";
    g.Password = password;
    g.FileName = dir.file("private.txt");
    const Outcome o = download(g);
    EXPECT_EQ(o.done, expectDone);
    EXPECT_EQ(o.errors, 1 - expectDone);
    EXPECT_EQ(server.requests.size(), 2u);  // no endless retries with wrong credentials
  }
}

TEST_F(HttpTest, SecondStartWhileRunningIsIgnored) {
  server.route("/a", ok("first"));
  THTTPGet g;
  Outcome o;
  attach(g, o);
  g.URL = server.url("/a");
  g.FileName = dir.file("a");
  g.StartDownload();
  EXPECT_EQ(o.done + o.errors, 0);  // events only come later, from the event loop
  g.URL = server.url("/b");
  g.StartDownload();
  ASSERT_TRUE(pumpUntil([&] { return o.done + o.errors > 0; }));
  pumpUntil([] { return false; }, 200);
  EXPECT_EQ(o.done, 1);
  EXPECT_EQ(o.errors, 0);
  ASSERT_EQ(server.requests.size(), 1u);
  EXPECT_EQ(server.requests[0].path, "/a");

  // Once ended, the next one starts, also from inside the done handler.
  server.route("/c", ok("third"));
  g.OnDoneFile = [&](THTTPGet& s, const std::string&, int) {
    ++o.done;
    if (o.done == 2) {
      s.URL = server.url("/c");
      s.FileName = dir.file("c");
      s.StartDownload();
    }
  };
  g.URL = server.url("/a");
  g.StartDownload();
  ASSERT_TRUE(pumpUntil([&] { return o.done == 3; }));
  EXPECT_EQ(readFile(dir.file("c")), "third");
}

TEST_F(HttpTest, AbortEndsWithOneErrorAndNoFile) {
  server.route("/silent", Response{"", true});
  THTTPGet g;
  Outcome o;
  attach(g, o);
  g.URL = server.url("/silent");
  g.FileName = dir.file("x");
  g.StartDownload();
  ASSERT_TRUE(pumpUntil([&] { return !server.requests.empty(); }));
  g.AbortDownload();
  ASSERT_TRUE(pumpUntil([&] { return o.errors > 0; }));
  pumpUntil([] { return false; }, 100);
  EXPECT_EQ(o.errors, 1);
  EXPECT_EQ(o.done, 0);
  EXPECT_FALSE(platform::fileExists(dir.file("x")));
}

TEST_F(HttpTest, DestroyedWhileRunningSendsNoEvent) {
  const std::string body = binaryBody(3000);
  server.route("/a", ok(body));
  Outcome o;
  {
    THTTPGet g;
    attach(g, o);
    g.URL = server.url("/a");
    g.FileName = dir.file("a");
    g.StartDownload();
  }
  pumpUntil([] { return false; }, 300);
  EXPECT_EQ(o.done + o.errors, 0);
  EXPECT_TRUE(o.progress.empty());
  EXPECT_FALSE(platform::fileExists(dir.file("a")));
}

}  // namespace
