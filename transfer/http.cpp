#include "transfer/http.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSaveFile>
#include <QUrl>
#include <climits>

#include "platform/cp1250.h"
#include "platform/files.h"

namespace vektrano::transfer {

namespace {

constexpr qint64 kChunk = 1025;
constexpr int kMaxRedirects = 5;

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// Header values come from settings and the caller; a line break would let
// them add headers of their own.
QByteArray headerValue(const std::string& text) {
  QByteArray out;
  for (char c : text)
    if (c != '\r' && c != '\n' && c != '\0') out.append(c);
  return out;
}

// The operator's proxy settings, except for this machine, which no proxy
// can reach on our behalf.
class ProxyFactory final : public QNetworkProxyFactory {
 public:
  QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
    const QString host = query.peerHostName();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback())
      return {QNetworkProxy(QNetworkProxy::NoProxy)};
    return systemProxyForQuery(query);
  }
};

// A plain decimal Content-Length that fits the events' Integer, or -1.
int parseContentLength(const QByteArray& raw) {
  const QByteArray v = raw.trimmed();
  if (v.isEmpty() || v.size() > 10) return -1;
  qint64 n = 0;
  for (char c : v) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n > INT_MAX ? -1 : static_cast<int>(n);
}

}  // namespace

void SplitUrl(const std::string& URL, std::string& Host, std::string& Path) {
  std::string rest = startsWithNoCase(URL, "http://") ? URL.substr(7) : URL;
  const size_t slash = rest.find('/');
  if (slash == std::string::npos) {
    Host.clear();
    Path = rest;
    return;
  }
  Host = rest.substr(0, slash);
  Path = rest.substr(slash);
}

// One download. Lives on the main thread; Qt's network thread moves the
// bytes. Ends exactly once, always through a queued call, and frees itself
// after telling its owner.
class THTTPGetThread : public QObject {
 public:
  struct Copies {
    std::string URL, Agent, AcceptTypes, FileName, UserName, Password, PostQuery, Referer;
    bool BinaryData = false;
    bool UseCache = false;
    bool ToFile = true;
    int TimeoutMs = 30000;
  };

  THTTPGetThread(Copies c, std::function<void(int, int)> progress, std::function<void(THTTPGetThread&)> onEnd)
      : c_(std::move(c)), progress_(std::move(progress)), onEnd_(std::move(onEnd)) {}

  const Copies& copies() const { return c_; }
  bool Result() const { return result_; }
  int ContentLength() const { return contentLength_; }
  const std::string& Body() const { return body_; }

  void Start() {
    std::string host, path;
    SplitUrl(c_.URL, host, path);
    const QUrl url(QStringLiteral("http://") + platform::toQString(host + path), QUrl::TolerantMode);
    if (host.empty() || !url.isValid() || url.host().isEmpty()) return finish(false);

    QNetworkRequest req(url);
    req.setRawHeader("Accept", headerValue(c_.AcceptTypes));
    if (!c_.Agent.empty()) req.setRawHeader("User-Agent", headerValue(c_.Agent));
    if (!c_.Referer.empty()) req.setRawHeader("Referer", headerValue(c_.Referer));
    // Bytes as sent, so that their count can be held against Content-Length.
    req.setRawHeader("Accept-Encoding", "identity");
    req.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                     c_.UseCache ? QNetworkRequest::PreferNetwork : QNetworkRequest::AlwaysNetwork);
    // Followed here, hop by hop: Qt's own following can hand over the
    // headers of several replies merged into one.
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    req.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    req.setTransferTimeout(c_.TimeoutMs);

    nam_.setProxyFactory(new ProxyFactory);
    QObject::connect(&nam_, &QNetworkAccessManager::authenticationRequired, this,
                     [this](QNetworkReply*, QAuthenticator* auth) {
                       // Offered once: a refusal then ends the download.
                       if (credentialsOffered_ || (c_.UserName.empty() && c_.Password.empty())) return;
                       credentialsOffered_ = true;
                       auth->setUser(platform::toQString(c_.UserName));
                       auth->setPassword(platform::toQString(c_.Password));
                     });
    send(req, !c_.PostQuery.empty());
  }

  // Asks the download to stop; it ends as failed.
  void Terminate() { finish(false); }

  // The owner is gone: no more calls out.
  void Detach() {
    progress_ = nullptr;
    onEnd_ = nullptr;
  }

 private:
  int status() const { return reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(); }

  static bool isRedirect(int code) { return code == 301 || code == 302 || code == 303 || code == 307 || code == 308; }

  void send(QNetworkRequest req, bool post) {
    if (post) {
      req.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
      reply_ = nam_.post(req, QByteArray::fromStdString(c_.PostQuery));
    } else {
      reply_ = nam_.get(req);
    }
    request_ = req;
    post_ = post;
    // What Qt holds for us is bounded whatever the server sends.
    reply_->setReadBufferSize(64 * 1024);
    QObject::connect(reply_, &QNetworkReply::metaDataChanged, this, [this] { begin(); });
    QObject::connect(reply_, &QNetworkReply::readyRead, this, [this] { readChunks(); });
    QObject::connect(reply_, &QNetworkReply::finished, this, [this] { replyFinished(); });
  }

  // A redirect reply has ended: sends the next hop, or false when it may not
  // be followed (too many hops, no target, not HTTP, HTTPS to HTTP).
  bool follow() {
    const QUrl location = reply_->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (!location.isValid() || ++hops_ > kMaxRedirects) return false;
    const QUrl target = reply_->url().resolved(location);
    const QString scheme = target.scheme().toLower();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) || target.host().isEmpty())
      return false;
    if (reply_->url().scheme().toLower() == QLatin1String("https") && scheme == QLatin1String("http")) return false;
    const int code = status();
    QObject::disconnect(reply_, nullptr, this, nullptr);
    reply_->deleteLater();
    QNetworkRequest next = request_;
    next.setUrl(target);
    // As browsers do: only 307 and 308 repeat a POST.
    send(next, post_ && (code == 307 || code == 308));
    return true;
  }

  // The final reply's headers: only a 2xx reply is read.
  bool begin() {
    if (ended_) return false;
    if (begun_) return true;
    const int code = status();
    if (isRedirect(code)) return false;  // its body is not the download
    if (code < 200 || code >= 300) {
      finish(false);
      return false;
    }
    const bool hasLength = reply_->hasRawHeader("Content-Length");
    if (hasLength) {
      contentLength_ = parseContentLength(reply_->rawHeader("Content-Length"));
      if (contentLength_ < 0) {
        contentLength_ = 0;
        finish(false);
        return false;
      }
    } else if (c_.BinaryData) {
      finish(false);
      return false;
    }
    if (c_.ToFile) {
      file_.setFileName(QFile::decodeName(QByteArray::fromStdString(platform::fsPath(c_.FileName).string())));
      if (c_.FileName.empty() || !file_.open(QIODevice::WriteOnly)) {
        finish(false);
        return false;
      }
    }
    begun_ = true;
    return true;
  }

  void readChunks() {
    if (!begin()) return;
    char buf[kChunk];
    while (!ended_ && reply_->bytesAvailable() > 0) {
      const qint64 n = reply_->read(buf, kChunk);
      if (n <= 0) break;
      if (total_ > INT_MAX - n || (contentLength_ > 0 && total_ + n > contentLength_)) return finish(false);
      if (c_.ToFile) {
        if (file_.write(buf, n) != n) return finish(false);
      } else {
        body_.append(buf, static_cast<size_t>(n));
      }
      total_ += static_cast<int>(n);
      if (progress_) {
        // The handler may abort or drop its owner; both end the loop.
        QPointer<THTTPGetThread> self(this);
        progress_(contentLength_, total_);
        if (!self) return;
      }
    }
  }

  void replyFinished() {
    if (ended_) return;
    if (!begun_ && isRedirect(status())) {
      if (!follow()) finish(false);
      return;
    }
    if (reply_->error() != QNetworkReply::NoError) return finish(false);
    readChunks();
    if (ended_) return;
    if (!begun_) return finish(false);
    const bool ok = c_.ToFile ? total_ == contentLength_ : total_ > 0;
    finish(ok && (!c_.ToFile || file_.commit()));
  }

  void finish(bool ok) {
    if (ended_) return;
    ended_ = true;
    result_ = ok;
    if (!ok && file_.isOpen()) {
      file_.cancelWriting();
      file_.commit();  // removes the temporary file now
    }
    if (reply_) QObject::disconnect(reply_, nullptr, this, nullptr);
    // The reply is dropped from the event loop, never inside one of its own
    // signals; deleting it closes its connection without a further signal.
    QMetaObject::invokeMethod(
        this,
        [this] {
          delete reply_;
          reply_ = nullptr;
          if (onEnd_) {
            auto end = std::move(onEnd_);
            onEnd_ = nullptr;
            end(*this);
          }
          deleteLater();
        },
        Qt::QueuedConnection);
  }

  Copies c_;
  std::function<void(int, int)> progress_;
  std::function<void(THTTPGetThread&)> onEnd_;
  QNetworkAccessManager nam_;
  QNetworkReply* reply_ = nullptr;  // owned by nam_
  QNetworkRequest request_;         // of the current hop
  bool post_ = false;
  int hops_ = 0;
  QSaveFile file_;
  std::string body_;
  int contentLength_ = 0;
  int total_ = 0;
  bool begun_ = false;
  bool ended_ = false;
  bool result_ = false;
  bool credentialsOffered_ = false;
};

THTTPGet::THTTPGet() : alive_(std::make_shared<bool>(true)) {}

THTTPGet::~THTTPGet() {
  *alive_ = false;
  if (worker_) {
    worker_->Detach();
    worker_->Terminate();
    worker_ = nullptr;
  }
}

void THTTPGet::StartDownload() {
  if (worker_) return;
  if (!QCoreApplication::instance()) {
    // Nothing would ever deliver the end.
    result_ = false;
    if (OnError) OnError(*this);
    return;
  }
  THTTPGetThread::Copies c;
  c.URL = URL;
  c.Agent = Agent;
  c.AcceptTypes = AcceptTypes;
  c.FileName = FileName;
  c.UserName = UserName;
  c.Password = Password;
  c.PostQuery = PostQuery;
  c.Referer = Referer;
  c.BinaryData = BinaryData;
  c.UseCache = UseCache;
  c.ToFile = true;
  c.TimeoutMs = TimeoutMs;
  worker_ = new THTTPGetThread(
      std::move(c),
      [this](int total, int readed) {
        if (OnProgress) OnProgress(*this, total, readed);
      },
      [this](THTTPGetThread& w) { DownloadFinished(w); });
  worker_->Start();
  if (WaitThread) {
    const auto alive = alive_;
    while (*alive && worker_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void THTTPGet::AbortDownload() {
  if (worker_) worker_->Terminate();
}

void THTTPGet::DownloadFinished(THTTPGetThread& worker) {
  result_ = worker.Result();
  // Cleared before the events, so that a handler may start the next download.
  worker_ = nullptr;
  if (result_) {
    if (worker.copies().ToFile) {
      if (OnDoneFile) OnDoneFile(*this, worker.copies().FileName, worker.ContentLength());
    } else if (OnDoneString) {
      OnDoneString(*this, worker.Body());
    }
  } else if (OnError) {
    OnError(*this);
  }
}

}  // namespace vektrano::transfer
