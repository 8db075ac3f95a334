#include "update/transfer.h"

namespace tessalune::update {

std::string sizeText(std::size_t bytes) {
  constexpr std::size_t kKilobyte = 1024, kMegabyte = kKilobyte * 1024;
  if (bytes >= kMegabyte && bytes % kMegabyte == 0) return std::to_string(bytes / kMegabyte) + " MB";
  if (bytes >= kKilobyte && bytes % kKilobyte == 0) return std::to_string(bytes / kKilobyte) + " KB";
  return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

std::string largerThanCause(std::size_t limit) {
  return "the file is larger than " + sizeText(limit);
}

std::string noAnswerCause(std::chrono::seconds deadline) {
  return "no answer within " + std::to_string(deadline.count()) + " s";
}

std::string tooSlowCause(const TransferLimits& limits) {
  return "slower than " + sizeText(static_cast<std::size_t>(limits.minimumRate)) + "/s for " +
         std::to_string(limits.rateWindow.count()) + " s";
}

}  // namespace tessalune::update
