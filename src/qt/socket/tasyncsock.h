#pragma once
// TAsyncSock: the asynchronous TCP client the program talks to the router
// with, on Qt sockets.
//
// Every Open makes a new connection, named by an increasing socket handle.
// Socket activity becomes the events OnConnect, OnReceive and OnClose, each
// carrying its handle. They are delivered from the event loop of the GUI
// thread, one at a time and in the order they happened, never from inside
// a call of the component (so a handler may Open, Send or Close freely).
//
// Nothing ever waits: Receive gives what has arrived, Send hands all bytes
// to the socket's buffer. A connect that fails (refused, unreachable, host
// not found, TimeOut passed) frees its socket at once and is delivered as
// OnClose with LastError and ErrorMsg telling why, so an owner that counts
// on OnClose to end an exchange is never left waiting.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <deque>
#include <map>
#include <utility>

class QTcpSocket;
class QTimer;

namespace tarvik {

class TAsyncSock : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString SelfName READ SelfName WRITE setSelfName)
  Q_PROPERTY(QString SelfIPAddr READ SelfIPAddr WRITE setSelfIPAddr)
  Q_PROPERTY(int SelfPort READ SelfPort)
  Q_PROPERTY(QString Host READ Host WRITE setHost)
  Q_PROPERTY(QString IPAddr READ IPAddr)
  Q_PROPERTY(int Port READ Port WRITE setPort)
  Q_PROPERTY(int LastError READ LastError)
  Q_PROPERTY(QString ErrorMsg READ ErrorMsg)
  Q_PROPERTY(int TimeOut READ TimeOut WRITE setTimeOut)

 public:
  using Socket = qint64;
  static constexpr Socket kNone = -1;

  explicit TAsyncSock(QObject* parent = nullptr);
  ~TAsyncSock() override;

  // This computer's name and IPv4 address, found at creation (no name
  // service is asked). Writing them has no effect.
  QString SelfName() const { return selfName_; }
  void setSelfName(const QString&) {}
  QString SelfIPAddr() const { return selfIPAddr_; }
  void setSelfIPAddr(const QString&) {}
  // Local port of the last connection that came up (0 before).
  int SelfPort() const { return selfPort_; }

  // Peer host: an address or a host name. An address is taken at once; a
  // name is looked up in the background, and IPAddr shows
  // "255.255.255.255" until the look-up succeeds (and after it fails).
  // A name is looked up when the text changes; setting the same text again
  // keeps what was found, and looks up again only a name that was not.
  QString Host() const { return host_; }
  void setHost(const QString& host);
  QString IPAddr() const { return ipAddr_; }
  int Port() const { return port_; }
  void setPort(int port) { port_ = port; }

  // Socket-layer error code of the last failure (0 after a good Open) and
  // its text.
  int LastError() const { return lastError_; }
  QString ErrorMsg() const { return errorMsg_; }

  // Connect time-out in tenths of a second; 0 waits as long as the system.
  int TimeOut() const { return timeOut_; }
  void setTimeOut(int tenths) { timeOut_ = tenths; }

  // Starts a new connection to Host:Port and returns its handle. With
  // reuse, a connection that is still open is returned instead. Throws
  // ECommError ("Soketが獲得できない。 ...") when no socket can be had.
  Socket Open(bool reuse = false);
  // Queues all bytes for sending; returns their count. Throws ECommError
  // ("Send Error ...") when the connection is not up.
  qint64 Send(Socket s, const char* data, qint64 length);
  qint64 SendText(Socket s, const QByteArray& text);
  // What has arrived on s, at most maxSize bytes, without waiting (empty
  // when nothing has). Throws ECommError ("Recv Error ...") for a handle
  // that is not open.
  QByteArray Receive(Socket s, qint64 maxSize);
  // Closes s, whatever its state; no event for s follows. Unknown or
  // already closed handles are ignored.
  void Close(Socket s);

  // Connections held (connecting, open, or closed by the peer but not yet
  // reported).
  int openConnections() const { return static_cast<int>(connections_.size()); }
  // Background name look-ups started so far.
  int lookupsStarted() const { return lookupsStarted_; }
  // True while a background name look-up is under way.
  bool lookingUp() const { return lookupId_ != -1; }

 signals:
  void OnConnect(qint64 S);
  void OnReceive(qint64 S);
  // The peer closed S, or its connect failed (LastError is then not 0).
  void OnClose(qint64 S);

 private:
  enum class EventKind { Connect, Receive, Close };
  struct Event {
    Event(EventKind k, Socket s, int e = 0, QString m = {}, bool failed = false)
        : kind(k), socket(s), error(e), message(std::move(m)), connectFailed(failed) {}
    EventKind kind;
    Socket socket;
    int error;
    QString message;
    bool connectFailed;  // the connect failed: the connection is already gone
  };
  struct Connection {
    QTcpSocket* socket = nullptr;
    QTimer* connectTimer = nullptr;
    QString host;  // the name it was opened with, when no address was known
    QByteArray inbox;
    bool connected = false;
    bool receivePosted = false;
    bool ended = false;
  };

  void post(Event event);
  void drain();
  void deliver(const Event& event);
  void onStateChanged(Socket s);
  void onReadyRead(Socket s);
  void fail(Socket s, int error, const QString& message);
  void release(Connection& connection);

  QString selfName_, selfIPAddr_;
  int selfPort_ = 0;
  QString host_;
  QString ipAddr_;
  bool ipResolved_ = false;
  int lookupId_ = -1;
  int lookupsStarted_ = 0;
  int port_ = 23;
  int lastError_ = 0;
  QString errorMsg_;
  int timeOut_ = 0;

  Socket nextSocket_ = 1;
  Socket current_ = kNone;
  int reuseCount_ = 0;
  std::map<Socket, Connection> connections_;
  std::deque<Event> queue_;
  bool drainScheduled_ = false;
  bool delivering_ = false;
  Socket opening_ = kNone;
  bool openFailedNoSocket_ = false;
};

}  // namespace tarvik
