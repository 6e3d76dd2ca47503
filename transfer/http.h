#pragma once
// THTTPGet downloads one HTTP resource into a file and reports progress,
// completion and failure as events on the main thread. One download at a
// time: a start while one runs is ignored.
//
// The transfer goes through Qt Network, which moves the bytes on its own
// thread; the download object lives on the main thread, so every event
// arrives there, always after StartDownload has returned. A QCoreApplication
// must exist and its event loop must run (or WaitThread pump it).
//
// What the caller can rely on:
// - the body goes to a temporary file beside FileName that replaces it only
//   when the download completed, so FileName holds either its old content or
//   the whole new body, never a part;
// - a reply whose status is not 2xx is a failure, whatever its body;
// - redirects are followed (at most a few hops, never from HTTPS to HTTP);
// - a download that receives nothing for TimeoutMs fails;
// - Content-Length is only compared with what arrived, never used to size
//   memory; a value that is not a plain number up to 2^31-1 is a failure.
#include <functional>
#include <memory>
#include <string>

namespace vektrano::transfer {

class THTTPGet;
class THTTPGetThread;

// After each chunk: the Content-Length (0 when the reply had none) and the
// bytes received so far.
using TOnProgressEvent = std::function<void(THTTPGet& Sender, int TotalSize, int Readed)>;
using TOnDoneFileEvent = std::function<void(THTTPGet& Sender, const std::string& FileName, int FileSize)>;
using TOnDoneStringEvent = std::function<void(THTTPGet& Sender, const std::string& Result)>;
using TNotifyEvent = std::function<void(THTTPGet& Sender)>;

// Splits a URL into host and path: a leading "http://" (any letter case) is
// dropped; the host runs up to the first "/", the path from that "/" on. A
// text without "/" gives an empty host and the whole text as the path.
void SplitUrl(const std::string& URL, std::string& Host, std::string& Path);

class THTTPGet {
 public:
  THTTPGet();
  // Aborts a running download; no event follows.
  ~THTTPGet();
  THTTPGet(const THTTPGet&) = delete;
  THTTPGet& operator=(const THTTPGet&) = delete;

  std::string AcceptTypes = "*/*";         // sent as "Accept: " + value
  std::string Agent = "Ferrotek HTTPGet";  // User-Agent; empty leaves Qt's default
  bool BinaryData = false;  // a reply without Content-Length fails before any byte is read
  std::string URL;          // "http://" host[":" port] "/" path
  bool UseCache = false;    // false asks every cache on the way to revalidate
  std::string FileName;     // file that receives the body (cp1250 path)
  std::string UserName;     // credentials offered once when the server asks
  std::string Password;
  std::string PostQuery;  // not empty: a POST with this URL-encoded body
  std::string Referer;
  bool WaitThread = false;  // StartDownload processes events until the download has ended

  // Milliseconds without any data before a download fails.
  int TimeoutMs = 30000;

  TOnProgressEvent OnProgress;
  TOnDoneFileEvent OnDoneFile;      // success: FileName and its Content-Length
  TOnDoneStringEvent OnDoneString;  // success of a download into memory; no start exists for it
  TNotifyEvent OnError;             // failure, including an abort

  // Starts a download of URL into FileName with copies of the properties;
  // does nothing while one runs.
  void StartDownload();
  // Stops a running download; OnError follows.
  void AbortDownload();

 private:
  void DownloadFinished(THTTPGetThread& worker);

  THTTPGetThread* worker_ = nullptr;  // frees itself after its end
  bool result_ = false;               // of the last download
  std::shared_ptr<bool> alive_;       // false once destroyed (for the wait loop)
};

}  // namespace vektrano::transfer
