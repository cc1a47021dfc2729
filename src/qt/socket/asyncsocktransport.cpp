#include "qt/socket/asyncsocktransport.h"

#include <limits>

#include "engine/base/sjis.h"
#include "engine/net/ecommerror.h"
#include "engine/net/winsockcodes.h"

namespace tarvik {

AsyncSockTransport::AsyncSockTransport(TransportEvents events)
    : sock_(std::make_unique<TAsyncSock>()), handlers_(std::move(events)) {
  // The program's instance: the telnet console, a connect given up after
  // the socket layer's own time.
  sock_->setPort(23);
  sock_->setTimeOut(5000);

  QObject::connect(sock_.get(), &TAsyncSock::OnConnect, sock_.get(), [this](qint64 s) {
    if (handlers_.connected) handlers_.connected(s);
  });
  QObject::connect(sock_.get(), &TAsyncSock::OnReceive, sock_.get(), [this](qint64 s) {
    // Everything that has arrived, in one piece: the core's assembler cuts
    // it into answers.
    QByteArray bytes = sock_->Receive(s, std::numeric_limits<qint64>::max());
    if (!bytes.isEmpty() && handlers_.received) {
      handlers_.received(s, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
  });
  QObject::connect(sock_.get(), &TAsyncSock::OnClose, sock_.get(), [this](qint64 s) {
    if (sock_->LastError() != 0) {
      errorText_ = std::string(commFailurePrefix(CommFailure::Connect)) + sock_->ErrorMsg().toStdString();
      connectFailure_ = connectFailureOfWinsockCode(sock_->LastError());
    }
    if (handlers_.closed) handlers_.closed(s);
  });
}

AsyncSockTransport::~AsyncSockTransport() = default;

void AsyncSockTransport::setHost(const std::string& host) {
  sock_->setHost(QString::fromStdString(toUtf8(host)));
}

void AsyncSockTransport::setPort(int port) { sock_->setPort(port); }

SocketId AsyncSockTransport::open() {
  try {
    return sock_->Open(false);
  } catch (const ECommError& e) {
    errorText_ = e.what();
    return kNoSocket;
  }
}

bool AsyncSockTransport::send(SocketId socket, std::string_view bytes) {
  try {
    sock_->Send(socket, bytes.data(), static_cast<qint64>(bytes.size()));
    return true;
  } catch (const ECommError& e) {
    errorText_ = e.what();  // "Send Error " and the reason
    return false;
  }
}

void AsyncSockTransport::close(SocketId socket) { sock_->Close(socket); }

}  // namespace tarvik
