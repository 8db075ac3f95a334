#include "mnemonics.h"

#include <optional>

namespace tessalune::desktop {

QChar mnemonicOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;  // an ampersand shown as such
      continue;
    }
    return text[i + 1].toLower();
  }
  return {};
}

QString withoutMnemonic(const QString& text) {
  QString plain;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // the mark goes, an ampersand stays once
    plain += text[i];
  }
  return plain;
}

QStringList withMnemonics(const QStringList& texts, QSet<QChar> taken) {
  QStringList marked;
  for (const QString& text : texts) {
    QString plain = text;
    plain.replace("&", "&&");
    // The first free character that passes the test, as an index into plain.
    const auto firstFree = [&](auto accepts) -> std::optional<qsizetype> {
      for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain[i];
        if (c.isLetterOrNumber() && accepts(i) && !taken.contains(c.toLower())) return i;
      }
      return std::nullopt;
    };
    std::optional<qsizetype> at =
        firstFree([&](qsizetype i) { return i == 0 || !plain[i - 1].isLetterOrNumber(); });
    if (!at) at = firstFree([](qsizetype) { return true; });
    if (at) {
      taken.insert(plain[*at].toLower());
      plain.insert(*at, '&');
    }
    marked << plain;
  }
  return marked;
}

}  // namespace tessalune::desktop
