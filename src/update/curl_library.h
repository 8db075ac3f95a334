#pragma once

#include <curl/curl.h>

#include <string>

namespace tessalune::update {

// libcurl's entry points, resolved when the network is first needed. Linking libcurl would
// make every command of the program load it and its forty libraries at start-up (some
// seven milliseconds), though only the update check uses the network.
struct CurlLibrary {
  decltype(&::curl_easy_init) easy_init;
  decltype(&::curl_easy_setopt) easy_setopt;
  decltype(&::curl_easy_getinfo) easy_getinfo;
  decltype(&::curl_easy_strerror) easy_strerror;
  decltype(&::curl_easy_cleanup) easy_cleanup;
  decltype(&::curl_easy_pause) easy_pause;
  decltype(&::curl_multi_init) multi_init;
  decltype(&::curl_multi_add_handle) multi_add_handle;
  decltype(&::curl_multi_remove_handle) multi_remove_handle;
  decltype(&::curl_multi_poll) multi_poll;
  decltype(&::curl_multi_perform) multi_perform;
  decltype(&::curl_multi_info_read) multi_info_read;
  decltype(&::curl_multi_cleanup) multi_cleanup;
  decltype(&::curl_url) url;
  decltype(&::curl_url_set) url_set;
  decltype(&::curl_url_get) url_get;
  decltype(&::curl_url_cleanup) url_cleanup;
  decltype(&::curl_free) free;
};

// The library, loaded on first use and kept for the life of the process; null when it
// cannot be loaded, with the reason in curlLoadError().
const CurlLibrary* curlLibrary();
const std::string& curlLoadError();

}  // namespace tessalune::update
