#pragma once

#include <QChar>
#include <QSet>
#include <QString>
#include <QStringList>

namespace tessalune::desktop {

// The access key a text marks with "&" (lower case), or a null character; "&&" is an
// ampersand, not a mark.
QChar mnemonicOf(const QString& text);

// The text as it reads: its mark taken out, "&&" an ampersand again.
QString withoutMnemonic(const QString& text);

// The texts, as plain text, with an access key each that none of the others, nor a key in
// taken, uses: the first free letter that starts one of its words, else its first free letter
// or digit, else none. Their own ampersands are doubled, so that they still read as such.
QStringList withMnemonics(const QStringList& texts, QSet<QChar> taken = {});

}  // namespace tessalune::desktop
