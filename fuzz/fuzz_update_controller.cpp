// The update window's check and download against a server whose answers come from the
// input: the version file, statuses, the announced length and the installer. A check that
// does not find a newer version never offers the download; a download leaves the installer
// only when all of it arrived, within its limit, and never leaves a partial file.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "fuzz_support.h"
#include "platform/file_system.h"
#include "platform/scripted_dialogs.h"
#include "platform/shell.h"
#include "support/english_messages.h"
#include "support/fake_transfer.h"
#include "update/update_controller.h"

using namespace tessalune;

namespace {

constexpr const char* kBase = "http://127.0.0.1:9/up/";
constexpr std::size_t kInstallerLimit = 4096;

int status(FuzzedDataProvider& input) {
  constexpr int kStatuses[] = {200, 200, 200, 302, 404, 500};
  return kStatuses[input.ConsumeIntegralInRange<std::size_t>(0, 5)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  testing::FakeServer server;
  auto& version = server.files[std::string(kBase) + "TLupdate"];
  version.status = status(input);
  version.body = input.ConsumeRandomLengthString(32);
  auto& installer = server.files[std::string(kBase) + "TLsetup.exe"];
  installer.status = status(input);
  if (input.ConsumeBool()) installer.headers["Content-Length"] = input.ConsumeRandomLengthString(16);
  installer.body = input.ConsumeRemainingBytesAsString();

  static testing::EnglishMessages messages;
  platform::ScriptedDialogs dialogs;
  platform::RecordingShell shell;
  fuzz::SilentReport report;
  ui::UpdateWindow window;
  update::UpdateLimits limits;
  limits.installer = kInstallerLimit;
  update::UpdateController service(update::UpdateDependencies{
      window, dialogs, messages, shell, report, fuzz::pluginFolder(), [] { return 1; }, server.factory(),
      [] {}, kBase, update::PluginVersion{2, 0, 708}, limits});
  service.btnCheck_Click();
  const auto remote = update::parseVersionFile(version.body);
  const bool newer = version.status == 200 && remote && update::isNewer(*remote, {2, 0, 708});
  if (window.btnDwld.visible() != newer || service.newer() != newer) {
    fuzz::broken(newer ? "a newer version was not offered" : "a failed check offered a download");
  }
  if (!newer) return 0;

  window.btnDwld.click();
  const auto saved = fuzz::readWhole(service.installerPath());
  std::filesystem::remove(service.installerPath());
  if (saved && (*saved != installer.body || installer.status != 200 || saved->size() > kInstallerLimit ||
                !service.finished())) {
    fuzz::broken("an installer was kept that did not arrive whole");
  }
  for (const auto& entry : std::filesystem::directory_iterator(fuzz::pluginFolder() / "Tessalune")) {
    if (entry.path().filename().string().find(platform::kTemporaryInfix) != std::string::npos)
      fuzz::broken("a partial file was left");
  }
  return 0;
}
