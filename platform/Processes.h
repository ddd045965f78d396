#pragma once
// What the process table says about sockets: which TCP sockets listen, and which a process holds.
// The browser layer asks who listens on a debugging port before it attaches.
#include <QByteArray>
#include <QSet>
#include <QString>

namespace zk::processes {

// Inodes of the TCP sockets (IPv4 and IPv6) that listen; with a port, only those on it.
QSet<QByteArray> listeningTcpSockets(int port = 0);
// Inodes of the sockets the process holds open; empty when it cannot be looked at.
QSet<QByteArray> socketsOf(qint64 pid);
// The executable of a local process that holds one of the sockets; empty when none does.
QString executableHolding(const QSet<QByteArray>& sockets);

} // namespace zk::processes
