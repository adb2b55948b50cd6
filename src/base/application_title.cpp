#include "base/application_title.h"

#include "base/maker.h"

namespace quintabel {

namespace {

constexpr qsizetype kLongestTitle = 40;

QString& currentTitle()
{
    static QString title = QString::fromLatin1(maker::kProductName);
    return title;
}

QString withoutLastWord(const QString& text)
{
    return text.left(text.lastIndexOf(QLatin1Char(' ')));
}

} // namespace

QString applicationTitleFor(const QString& productName)
{
    if (!productName.contains(QLatin1Char(' ')))
        return productName.left(kLongestTitle);
    QString title = withoutLastWord(productName);
    while (title.size() > kLongestTitle && title.contains(QLatin1Char(' ')))
        title = withoutLastWord(title);
    return title.left(kLongestTitle);
}

void SetApplicationTitle()
{
    currentTitle() = applicationTitleFor(QString::fromLatin1(maker::kProductName));
}

QString applicationTitle()
{
    return currentTitle();
}

} // namespace quintabel
