#pragma once

// Owners for the GLib and GMime objects of the stores. Nothing outside
// src/store includes this header.

#include <gmime/gmime.h>

#include <memory>

namespace zandor::mime {

struct GObjectUnref {
  void operator()(gpointer object) const {
    if (object != nullptr) g_object_unref(object);
  }
};
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
  void operator()(gpointer memory) const { g_free(memory); }
};
using GCharPtr = std::unique_ptr<char, GFree>;

struct GDateTimeUnref {
  void operator()(GDateTime* date) const {
    if (date != nullptr) g_date_time_unref(date);
  }
};
using GDateTimePtr = std::unique_ptr<GDateTime, GDateTimeUnref>;

struct ParserOptionsFree {
  void operator()(GMimeParserOptions* options) const {
    if (options != nullptr) g_mime_parser_options_free(options);
  }
};
using ParserOptionsPtr = std::unique_ptr<GMimeParserOptions, ParserOptionsFree>;

// GMime needs one initialisation per process; every user of GMime in the
// store calls this first. Safe to call from any thread, any number of times.
void EnsureGMimeInitialised();

}  // namespace zandor::mime
