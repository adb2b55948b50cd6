#pragma once
// MaybeOpenWebSite: one start in a hundred shows the maker's web site. The draw and the
// opener are passed in, so that tests decide the number and never start a browser.

#include <QUrl>

#include <functional>

namespace quintabel {

using NumberDraw = std::function<int()>;               // a whole number from 1 to 100
using WebSiteOpener = std::function<void(const QUrl&)>; // starts the browser, does not wait

// A number from 1 to 100 from a generator seeded with the time of day.
int drawOneToHundred();

// Opens the address in the user's browser (QDesktopServices).
void openInBrowser(const QUrl& address);

// Opens the maker's web site when the draw gives 7.
void MaybeOpenWebSite(const NumberDraw& draw, const WebSiteOpener& open);

} // namespace quintabel
