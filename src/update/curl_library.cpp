#include "update/curl_library.h"

#include <dlfcn.h>

#include <optional>
#include <type_traits>

namespace tessalune::update {

namespace {

struct Loaded {
  std::optional<CurlLibrary> library;
  std::string error;
};

Loaded load() {
  // The OpenSSL build first, then the GnuTLS one: Debian ships either.
  void* handle = nullptr;
  std::string error;
  for (const char* name : {"libcurl.so.4", "libcurl-gnutls.so.4"}) {
    handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (handle) break;
    if (error.empty()) error = dlerror();
  }
  if (!handle) return {std::nullopt, "libcurl cannot be loaded: " + error};
  CurlLibrary library{};
  std::string missing;
  const auto resolve = [&](auto& entry, const char* name) {
    entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(dlsym(handle, name));
    if (!entry && missing.empty()) missing = name;
  };
  resolve(library.easy_init, "curl_easy_init");
  resolve(library.easy_setopt, "curl_easy_setopt");
  resolve(library.easy_getinfo, "curl_easy_getinfo");
  resolve(library.easy_strerror, "curl_easy_strerror");
  resolve(library.easy_cleanup, "curl_easy_cleanup");
  resolve(library.easy_pause, "curl_easy_pause");
  resolve(library.multi_init, "curl_multi_init");
  resolve(library.multi_add_handle, "curl_multi_add_handle");
  resolve(library.multi_remove_handle, "curl_multi_remove_handle");
  resolve(library.multi_poll, "curl_multi_poll");
  resolve(library.multi_perform, "curl_multi_perform");
  resolve(library.multi_info_read, "curl_multi_info_read");
  resolve(library.multi_cleanup, "curl_multi_cleanup");
  resolve(library.url, "curl_url");
  resolve(library.url_set, "curl_url_set");
  resolve(library.url_get, "curl_url_get");
  resolve(library.url_cleanup, "curl_url_cleanup");
  resolve(library.free, "curl_free");
  if (!missing.empty()) return {std::nullopt, "the libcurl found is too old (it has no " + missing + ")"};
  return {library, {}};
}

// Loaded once, the first time the network is needed, and never changed after.
const Loaded& loaded() {
  static const Loaded once = load();
  return once;
}

}  // namespace

const CurlLibrary* curlLibrary() {
  return loaded().library ? &*loaded().library : nullptr;
}

const std::string& curlLoadError() {
  return loaded().error;
}

}  // namespace tessalune::update
