#pragma once
// The application title: the title of every message box that does not name its own.

#include <QString>

namespace quintabel {

// The title made from a product name: the last word is cut off (the blank and all after it)
// at least once, and again while the text is longer than 40 characters. A name without a
// blank is kept whole (cut to 40 characters if longer): there is no word to drop.
QString applicationTitleFor(const QString& productName);

// Makes the title from the product name "Quintabel" and keeps it for applicationTitle().
void SetApplicationTitle();

// The current title; the product name until SetApplicationTitle() has run.
QString applicationTitle();

} // namespace quintabel
