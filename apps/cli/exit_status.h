#pragma once

namespace tessalune::cli {

// The exit statuses of every subcommand, as --help and the README list them.
inline constexpr int kSuccess = 0;
inline constexpr int kNotDone = 1;     // what was asked did not happen: refused, declined, no newer version
inline constexpr int kUsage = 2;       // a usage error, or a setting or value that is not valid
inline constexpr int kNotHandled = 3;  // run: the plug-in did not handle the line
inline constexpr int kFileOrNetwork = 4;  // a file or the network failed, or the output could not be written

inline constexpr const char* kExitStatusHelp =
    "Exit status: 0 success; 1 what was asked did not happen (refused, declined, no newer version);\n"
    "2 usage error or invalid setting or value; 3 run: the plug-in did not handle the line;\n"
    "4 a file or the network failed, or the output could not be written.";

}  // namespace tessalune::cli
