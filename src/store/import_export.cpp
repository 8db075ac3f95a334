#include "store/import_export.h"

#include "errors/failure.h"
#include "errors/message_ids.h"
#include "platform/file_system.h"
#include "platform/xml_document.h"
#include "store/quicknicks.h"

namespace tessalune::store {

namespace msg = errors::msg;

namespace {

constexpr std::string_view kFilterDescription = "XML Config";
constexpr std::string_view kFilterPattern = "*.xml";

// The export: the configuration file's document, handed to write as a file's bytes, then
// message 146. Only the target is written: nothing else in its folder, which is the
// user's, is touched.
template <typename Write>
void exportThrough(StoreContext& ctx, Write write) {
  errors::guardProcedure(ctx.failures, "exportConfig", [&] {
    ctx.failures.step.reset();
    ConfigSession config(ctx);
    if (!config.load("exportConfig")) return;
    config.release();
    ctx.failures.step.advance();
    write(config.doc().fileBytes());
    ctx.dialogs.message(ctx.messages.message(msg::kExported), platform::Icon::Information);
  });
}

}  // namespace

std::string ShowFileDialog(StoreContext& ctx, int kind, std::string_view title,
                           std::string_view initialFileName, std::string_view filterDescription,
                           std::string_view filterPattern, const std::filesystem::path& initialDirectory,
                           std::string_view defaultExtension) {
  platform::FileDialogRequest request;
  request.open = kind == kOpenDialog;
  request.title = title;
  request.filterDescription = filterDescription;
  request.filterPattern = filterPattern;
  request.initialDirectory = initialDirectory.string();
  request.defaultExtension = defaultExtension;
  request.fileMustExist = request.open;
  request.confirmOverwrite = !request.open;
  (void)initialFileName;  // the dialogs start empty

  std::filesystem::path chosen = ctx.dialogs.chooseFile(request);
  if (chosen.empty()) return {};
  if (chosen.is_relative()) chosen = initialDirectory / chosen;
  if (!chosen.has_extension() && !defaultExtension.empty()) chosen += "." + std::string(defaultExtension);
  std::error_code error;
  if (request.open && !std::filesystem::is_regular_file(chosen, error)) return {};
  if (request.confirmOverwrite && std::filesystem::exists(chosen, error) &&
      !ctx.dialogs.ask(chosen.string() + " already exists.\r\nDo you want to replace it?",
                       platform::Icon::Exclamation, title)) {
    return {};
  }
  return chosen.string();
}

bool importConfig(const std::filesystem::path& path, StoreContext& ctx) {
  bool imported = false;
  errors::guardProcedure(ctx.failures, "importConfig", [&] {
    ctx.failures.step.reset();
    ConfigSession config(ctx);
    // A file that vanished after it was chosen is not a missing configuration: reporting
    // it as one would replace the user's configuration by the default.
    platform::XmlDocument& doc = config.doc();
    if (!doc.load(path, ctx.files)) {
      if (doc.parseError().code == platform::kXmlFileNotFound) {
        throw errors::RuntimeFailure(errors::failure::kFileNotFound, "File not found: " + path.string());
      }
      config.reportLoadFailure("importConfig");
      return;
    }
    // The manager counts QuickNicks in 16 bits: a file with more could never be loaded,
    // and every start would fail on it again.
    if (quickNickEntries(doc).size() > static_cast<std::size_t>(INT16_MAX)) {
      config.release();
      ctx.dialogs.message(ctx.messages.message(msg::kTooManyQuickNicks), platform::Icon::Exclamation);
      return;
    }
    ctx.failures.step.advance();
    config.save();
    config.release();
    imported = true;
    ctx.dialogs.message(ctx.messages.message(msg::kImported), platform::Icon::Information);
  });
  return imported;
}

void exportConfig(const std::filesystem::path& path, StoreContext& ctx) {
  exportThrough(ctx, [&](const std::string& bytes) { platform::writeChosenFile(ctx.files, path, bytes); });
}

void exportConfig(int fd, const std::string& name, StoreContext& ctx) {
  exportThrough(ctx,
                [&](const std::string& bytes) { platform::writeToDescriptor(ctx.files, fd, bytes, name); });
}

void importWithRestart(StoreContext& ctx, errors::Lifecycle& lifecycle) {
  const std::string path = ShowFileDialog(ctx, kOpenDialog, ctx.messages.message(msg::kImportTitle), "",
                                          kFilterDescription, kFilterPattern, ctx.pluginDir, "xml");
  if (path.empty()) return;
  importConfig(path, ctx);
  lifecycle.request(errors::Lifecycle::Request::StartAgain);
}

void exportWithDialog(StoreContext& ctx) {
  const std::string path = ShowFileDialog(ctx, kSaveDialog, ctx.messages.message(msg::kExportTitle), "",
                                          kFilterDescription, kFilterPattern, ctx.pluginDir, "xml");
  if (path.empty()) return;
  exportConfig(path, ctx);
}

}  // namespace tessalune::store
