#pragma once

#include <QList>
#include <QNetworkInformation>
#include <QNetworkInterface>

#include <optional>

// True when the system reports a network connection of any kind: the reachability of
// QNetworkInformation where a backend loads and knows it, otherwise any interface that
// is up, running and not loopback.
bool IsInternetConnected();

namespace InternetConnection {
// What a reachability says about a connection; nothing when it is unknown.
std::optional<bool> fromReachability(QNetworkInformation::Reachability reachability);
// Whether one of the interfaces (given by their flags) is up, running and not loopback.
bool fromInterfaces(const QList<QNetworkInterface::InterfaceFlags>& interfaces);
} // namespace InternetConnection
