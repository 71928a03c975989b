#include "map/internetconnection.h"

std::optional<bool>
InternetConnection::fromReachability(QNetworkInformation::Reachability reachability)
{
    using R = QNetworkInformation::Reachability;
    switch (reachability) {
    case R::Disconnected:
        return false;
    case R::Local:
    case R::Site:
    case R::Online:
        return true;
    case R::Unknown:
        break;
    }
    return std::nullopt;
}

bool InternetConnection::fromInterfaces(const QList<QNetworkInterface::InterfaceFlags>& interfaces)
{
    for (const auto flags : interfaces) {
        if (flags.testFlag(QNetworkInterface::IsUp) &&
            flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack))
            return true;
    }
    return false;
}

bool IsInternetConnected()
{
    if (QNetworkInformation::instance() || QNetworkInformation::loadDefaultBackend()) {
        if (const auto known = InternetConnection::fromReachability(
                QNetworkInformation::instance()->reachability()))
            return *known;
    }
    QList<QNetworkInterface::InterfaceFlags> flags;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces())
        flags << i.flags();
    return InternetConnection::fromInterfaces(flags);
}
