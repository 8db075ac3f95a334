#include "lang/message_variables.h"

#include <utility>

#include "lang/host_words.h"

namespace tessalune::lang {

namespace {
constexpr int kFirstCommand = 901;
constexpr int kLastCommand = 908;
}  // namespace

MessageVariables::MessageVariables(MessageCatalogue catalogue) : catalogue_(std::move(catalogue)) {}

void MessageVariables::loadMessages() {
  for (int id = kFirst; id <= kLast; ++id) variables_[id - kFirst] = catalogue_.text(id);
}

std::string MessageVariables::message(int id) const {
  if (id >= kFirst && id <= kLast) return variables_[id - kFirst];
  if (id >= kFirstCommand && id <= kLastCommand) return catalogue_.text(id);
  if (isHostWord(id)) return catalogue_.text(id);
  return {};
}

}  // namespace tessalune::lang
