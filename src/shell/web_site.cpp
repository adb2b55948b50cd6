#include "shell/web_site.h"

#include "base/maker.h"

#include <QDesktopServices>
#include <QTime>

#include <random>

namespace quintabel {

int drawOneToHundred()
{
    std::mt19937 generator(static_cast<std::mt19937::result_type>(QTime::currentTime().msecsSinceStartOfDay()));
    return std::uniform_int_distribution<int>(1, 100)(generator);
}

void openInBrowser(const QUrl& address)
{
    QDesktopServices::openUrl(address);
}

void MaybeOpenWebSite(const NumberDraw& draw, const WebSiteOpener& open)
{
    constexpr int kLuckyNumber = 7;
    if (draw() == kLuckyNumber)
        open(QUrl(QString::fromLatin1(maker::kWebSite)));
}

} // namespace quintabel
