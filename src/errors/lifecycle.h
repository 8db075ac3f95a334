#pragma once

namespace tessalune::errors {

// What a failure may make the running plug-in do. The plug-in object implements it; the
// report and the conversions only ask for it.
class Lifecycle {
 public:
  virtual ~Lifecycle() = default;

  // Hides and unloads every window.
  virtual void unloadForms() = 0;
  // Ignore every command from now until the plug-in is loaded anew.
  virtual void setHalted() = 0;
  // Runs the start-up again (windows, configuration); traps its own failures.
  virtual void initPlugin() = 0;
  // Writes the default configuration of the interface language over the configuration
  // file. Throws when the file cannot be written.
  virtual void writeDefaultConfiguration() = 0;
  // Loads the configuration file into the settings again.
  virtual void loadConfig() = 0;
};

// A lifecycle for work done outside any running plug-in (a preview, a benchmark, a library
// call): what a failure would make the plug-in do concerns nothing here.
class NoLifecycle : public Lifecycle {
 public:
  void unloadForms() override {}
  void setHalted() override {}
  void initPlugin() override {}
  void writeDefaultConfiguration() override {}
  void loadConfig() override {}
};

}  // namespace tessalune::errors
