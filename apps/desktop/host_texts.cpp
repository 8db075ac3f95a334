#include "host_texts.h"

#include <cstddef>

#include "engine/palette.h"

namespace tessalune::desktop {

QString HostTexts::operator()(HostText text, const QString& argument) const {
  const QString words = QString::fromStdString(words_.text(text));
  return argument.isNull() ? words : words.arg(argument);
}

QString HostTexts::colourName(const QString& code) const {
  const auto& codes = engine::kEditorSwatches;  // in the order of their names' messages
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (code.compare(QLatin1String(codes[i].data(), codes[i].size()), Qt::CaseInsensitive) == 0)
      return (*this)(static_cast<HostText>(static_cast<int>(HostText::White) + static_cast<int>(i)));
  }
  return code;
}

}  // namespace tessalune::desktop
