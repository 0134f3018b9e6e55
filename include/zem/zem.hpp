/* zem: the C++ interface.
 *
 * Two parts, both over the C interface of zem.h:
 *
 * 1. Get and put by keyword name: overloaded functions, exported by the
 *    library, that read one value of a named keyword of a section, or append a
 *    keyword with its values to a document being built, in one call. The string
 *    object is std::string.
 * 2. Header-only conveniences in namespace zem: an owning document, range-for
 *    over sections, keywords and values, and typed value access that says why a
 *    value could not be had. They hold plain handles and nodes; there is no
 *    second tree.
 *
 * Compiles as C++17 and later.
 */
#ifndef ZEM_ZEM_HPP
#define ZEM_ZEM_HPP

#include <cstddef>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

#include "zem/zem.h"

/* ---- Get and put by keyword name ------------------------------------------------
 *
 * Getters take (section, keyword name, result pointer, keyword instance, value number); instances and values
 * count from 1 and 0 selects nothing. They look up the keyword with zemKeywordByNameNum and the value with
 * zemParamByNum (a default placeholder answers with its default value), read it with the typed getter and
 * return 1 with the result stored, or 0 with the result untouched when the keyword or value is missing, the
 * result pointer is null, or any global error code is pending after the read (also one left by an earlier
 * call: clear it with zemGetErrorGlb). A value of another kind reports "Function invalid in this context"
 * and stores the getter's neutral value (0, 0.0, false, ""), returning 1. Not a node: 1006, "Invalid zemNode";
 * a node that is not a section reports "Function invalid in this context"; both return 0. */
ZEM_API int zemGetParam(void* section, const char* keyword, int* out, int instance, int param);
ZEM_API int zemGetParam(void* section, const char* keyword, float* out, int instance, int param);
ZEM_API int zemGetParam(void* section, const char* keyword, double* out, int instance, int param);
ZEM_API int zemGetParam(void* section, const char* keyword, bool* out, int instance, int param);
ZEM_API int zemGetParam(void* section, const char* keyword, std::string* out, int instance, int param);
/* The resolved file name (zemGetFilename). The const char* form stores the library's pointer: owned by the
 * value, valid until its next resolution (null for a value that is no file name). */
ZEM_API int zemGetParamFilename(void* section, const char* keyword, const char** out, int instance, int param);
ZEM_API int zemGetParamFilename(void* section, const char* keyword, std::string* out, int instance, int param);
/* The name of a result file value (zemGetResultFilename); pointer ownership as zemGetParamFilename. */
ZEM_API int zemGetParamResultFilename(void* section, const char* keyword, const char** out, int instance, int param);
ZEM_API int zemGetParamResultFilename(void* section, const char* keyword, std::string* out, int instance, int param);
/* The full path of a result file value (zemGetResultFilenamePath). The text is owned by the value's document:
 * each value has its own, valid until the next call for the same value or zemClose (a value outside any
 * document shares one text per thread). Returns 0 when the path would not fit ZEM_MAX_PATH bytes. */
ZEM_API int zemGetParamResultFilePath(void* section, const char* keyword, const char** out, int instance, int param);

/* Putters append a new keyword to the current section of a document being built (zemAddKeyword) and one
 * value to it (zemAddInt, zemAddFloat, zemAddDouble, zemAddBool with 0 or 1, zemAddString, zemAddFilename,
 * zemAddResultFilename). They return 1, or 0 when a global error code is pending after a step: an invalid
 * handle stores 1005 and reports "Invalid zemHandle (CzemData)"; a pending code from before adds the keyword
 * without its value. Building errors ("Missing current section", "Missing current keyword") set only the
 * handle's builder status, so the put still returns 1. A file name or result file name holding a bar, a
 * carriage return or a line feed, which the file could not hold, is refused before anything is added: the
 * building error "Invalid character in filename", and the put returns 0. */
ZEM_API int zemPutParam(void* handle, const char* keyword, int value);
ZEM_API int zemPutParam(void* handle, const char* keyword, float value);
ZEM_API int zemPutParam(void* handle, const char* keyword, double value);
ZEM_API int zemPutParam(void* handle, const char* keyword, bool value);
ZEM_API int zemPutParam(void* handle, const char* keyword, const char* value);
ZEM_API int zemPutParam(void* handle, const char* keyword, std::string value);
ZEM_API int zemPutParamFilename(void* handle, const char* keyword, const char* name);
ZEM_API int zemPutParamResultFilename(void* handle, const char* keyword, const char* name);

/* Lists: one format letter per value, in order. Get: b bool*, d double*, f float*, i int*, n std::string*
 * (the resolved file name), s std::string*; put: b bool, d double, f float, i int, n const char* (a file
 * name), s const char*. Any other letter takes no argument and stores or adds nothing, but a get still needs
 * its value to exist. A get stops at the first missing value or pending error code with 0, keeping what it
 * stored before; the values beyond the format are not looked at; an empty (or null) format returns 1 as soon
 * as the keyword exists. A put adds the keyword, then the values, and returns 0 at the first pending error
 * code (keeping what it added); an "n" name that the file could not hold refuses the whole put as above.
 * Null result pointers are skipped. */
ZEM_API int zemGetListParam(void* section, const char* keyword, int instance, const char* format, ...);
ZEM_API int zemPutListParam(void* handle, const char* keyword, const char* format, ...);

namespace zem {

/* ---- Conveniences ---------------------------------------------------------------- */

// A document that could not be loaded: the library's code (1001 cannot open, 1003 syntax), the line and
// column of a syntax error (0 otherwise) and the library's text. what() is "FILE:LINE:COLUMN: TEXT" or
// "FILE: TEXT".
class load_error : public std::runtime_error {
 public:
  load_error(int code, int line, int column, const std::string& file, const std::string& message)
      : std::runtime_error(line > 0 ? file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message
                                    : file + ": " + message),
        code_(code),
        line_(line),
        column_(column),
        message_(message) {}
  int code() const noexcept { return code_; }
  int line() const noexcept { return line_; }
  int column() const noexcept { return column_; }
  const std::string& message() const noexcept { return message_; }

 private:
  int code_;
  int line_;
  int column_;
  std::string message_;
};

// What a typed read found.
enum class fetch_status {
  ok,
  missing,     // no such keyword, section or value, or an empty place in the list
  wrong_kind,  // a value of another kind
};

// The result of a typed read: the value, or why there is none.
template <typename T>
class fetched {
 public:
  fetched(fetch_status status) : status_(status), value_() {}  // NOLINT: implicit by design
  fetched(T value) : status_(fetch_status::ok), value_(std::move(value)) {}
  fetch_status status() const noexcept { return status_; }
  bool has_value() const noexcept { return status_ == fetch_status::ok; }
  explicit operator bool() const noexcept { return has_value(); }
  // The value; throws std::logic_error when there is none.
  const T& value() const {
    if (!has_value())
      throw std::logic_error(status_ == fetch_status::missing ? "zem: value missing" : "zem: value of another kind");
    return value_;
  }
  const T& operator*() const { return value(); }
  const T* operator->() const { return &value(); }
  T value_or(T fallback) const { return has_value() ? value_ : std::move(fallback); }

 private:
  fetch_status status_;
  T value_;
};

enum class value_kind { missing, integer, real, boolean, string, filename, other };

// One value of a keyword (a node of kind "value"); cheap to copy, valid as long as its document.
class value {
 public:
  value() noexcept = default;
  explicit value(void* node) noexcept : node_(node) {}
  void* node() const noexcept { return node_; }

  value_kind kind() const noexcept {
    if (node_ == nullptr || zemIsUndefinedPar(node_) != 0 || zemIsDefaultPar(node_) != 0) return value_kind::missing;
    switch (zemGetSyntaxClass(node_)) {  // the syntax class codes of zemGetSyntaxClass
      case 6:
        return value_kind::integer;
      case 7:
        return value_kind::real;
      case 8:
        return value_kind::boolean;
      case 9:
        return value_kind::string;
      default:
        return zemIsFilename(node_) != 0 ? value_kind::filename : value_kind::other;
    }
  }
  explicit operator bool() const noexcept { return kind() != value_kind::missing; }

  // int from an integer; double and float from an integer or a real; bool from true/false; std::string
  // from a quoted string. Any other kind is wrong_kind; no report is made.
  template <typename T>
  fetched<T> get() const;
  // The file name resolved against the document's file.
  fetched<std::string> filename() const {
    if (kind() != value_kind::filename) return absent();
    const char* text = zemGetFilename(node_);
    return std::string(text != nullptr ? text : "");
  }
  // The characters of the value as read or set.
  std::string text() const { return node_ != nullptr ? zemGetValueText(node_) : ""; }

 private:
  fetch_status absent() const noexcept {
    return kind() == value_kind::missing ? fetch_status::missing : fetch_status::wrong_kind;
  }
  void* node_ = nullptr;
};

template <>
inline fetched<int> value::get<int>() const {
  if (kind() != value_kind::integer) return absent();
  return zemGetInt(node_);
}
template <>
inline fetched<double> value::get<double>() const {
  const value_kind k = kind();
  if (k == value_kind::integer) return static_cast<double>(zemGetInt(node_));
  if (k != value_kind::real) return absent();
  return zemGetDouble(node_);
}
template <>
inline fetched<float> value::get<float>() const {
  const value_kind k = kind();
  if (k == value_kind::integer) return static_cast<float>(zemGetInt(node_));
  if (k != value_kind::real) return absent();
  return zemGetFloat(node_);
}
template <>
inline fetched<bool> value::get<bool>() const {
  if (kind() != value_kind::boolean) return absent();
  return zemGetBool(node_) != 0;
}
template <>
inline fetched<std::string> value::get<std::string>() const {
  if (kind() != value_kind::string) return absent();
  return std::string(zemGetString(node_));
}

namespace detail {

// The children n = 1 .. count of a node, as wrappers of type Child.
template <typename Child, int (*Count)(void*), void* (*ByNum)(void*, unsigned int)>
class children {
 public:
  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Child;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Child;
    iterator(void* parent, unsigned int n) noexcept : parent_(parent), n_(n) {}
    Child operator*() const { return Child(ByNum(parent_, n_)); }
    iterator& operator++() noexcept {
      ++n_;
      return *this;
    }
    iterator operator++(int) noexcept {
      iterator before = *this;
      ++n_;
      return before;
    }
    bool operator==(const iterator& other) const noexcept { return n_ == other.n_; }
    bool operator!=(const iterator& other) const noexcept { return n_ != other.n_; }

   private:
    void* parent_;
    unsigned int n_;
  };

  explicit children(void* parent) noexcept : parent_(parent) {}
  // Counts are taken once, when the loop starts; an invalid node has none.
  iterator begin() const noexcept { return iterator(parent_, 1); }
  iterator end() const noexcept { return iterator(parent_, 1 + size()); }
  unsigned int size() const noexcept {
    const int n = parent_ != nullptr ? Count(parent_) : 0;
    return n > 0 ? static_cast<unsigned int>(n) : 0u;
  }

 private:
  void* parent_;
};

}  // namespace detail

// A keyword (or default line) and its values.
class keyword {
 public:
  keyword() noexcept = default;
  explicit keyword(void* node) noexcept : node_(node) {}
  void* node() const noexcept { return node_; }
  explicit operator bool() const noexcept { return node_ != nullptr; }
  std::string name() const { return node_ != nullptr ? zemGetName(node_) : ""; }
  int instance() const noexcept { return node_ != nullptr ? zemGetInstanceNo(node_) : 0; }
  // The n-th value, counting from 1; an empty value when there is none.
  zem::value value(unsigned int n) const { return zem::value(node_ != nullptr ? zemParamByNum(node_, n) : nullptr); }
  detail::children<zem::value, zemGetNoParams, zemParamByNum> values() const noexcept {
    return detail::children<zem::value, zemGetNoParams, zemParamByNum>(node_);
  }

 private:
  void* node_ = nullptr;
};

// A section, or the root of a document, with its subsections and keywords.
class section {
 public:
  section() noexcept = default;
  explicit section(void* node) noexcept : node_(node) {}
  void* node() const noexcept { return node_; }
  explicit operator bool() const noexcept { return node_ != nullptr; }
  std::string name() const { return node_ != nullptr ? zemGetName(node_) : ""; }
  int instance() const noexcept { return node_ != nullptr ? zemGetInstanceNo(node_) : 0; }

  detail::children<section, zemGetNoSections, zemSectionByNum> sections() const noexcept {
    return detail::children<section, zemGetNoSections, zemSectionByNum>(node_);
  }
  detail::children<zem::keyword, zemGetNoKeywords, zemKeywordByNum> keywords() const noexcept {
    return detail::children<zem::keyword, zemGetNoKeywords, zemKeywordByNum>(node_);
  }
  // Same-named siblings count from 1; an empty object when there is none.
  section subsection(const std::string& name, unsigned int instance = 1) const {
    return section(node_ != nullptr ? zemSectionByNameNum(node_, name.c_str(), instance) : nullptr);
  }
  zem::keyword keyword(const std::string& name, unsigned int instance = 1) const {
    if (node_ == nullptr || zemGetNoKeywords(node_) <= 0) return zem::keyword();
    return zem::keyword(zemKeywordByNameNum(node_, name.c_str(), instance));
  }
  // The n-th value of a keyword, typed: missing when the keyword or value is not there.
  template <typename T>
  fetched<T> get(const std::string& name, unsigned int instance = 1, unsigned int n = 1) const {
    return keyword(name, instance).value(n).template get<T>();
  }

 private:
  void* node_ = nullptr;
};

// An owned document handle: closed (with everything below it) when the object is destroyed. Movable, not
// copyable. Sections, keywords and values taken from it are valid while it lives.
class document {
 public:
  // Loads a file quietly; a file that cannot be opened or read throws load_error. Clears any pending code.
  static document load(const std::string& path) {
    void* handle = zemLoadFile(path.c_str(), 1);
    const int code = zemGetErrorGlb();
    if (handle == nullptr) throw load_error(code, 0, 0, path, zemGetErrorMessageFromErrorCode(code));
    if (code != 0) {
      int line = 0;
      int column = 0;
      const char* message = nullptr;
      zemGetSyntaxErr(handle, &line, &column, &message);
      const std::string text = message != nullptr && *message != '\0' ? message : zemGetErrorMessageFromErrorCode(code);
      zemClose(&handle);
      throw load_error(code, line, column, path, text);
    }
    return document(handle);
  }
  // A new empty document, filled with the building calls of zem.h on handle().
  static document create() {
    void* handle = zemCreate();
    if (handle == nullptr) throw std::bad_alloc();
    return document(handle);
  }

  // Takes over a handle from zemLoadFile or zemCreate.
  explicit document(void* handle) noexcept : handle_(handle) {}
  document(document&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  document& operator=(document&& other) noexcept {
    if (this != &other) {
      close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  document(const document&) = delete;
  document& operator=(const document&) = delete;
  ~document() { close(); }

  void* handle() const noexcept { return handle_; }
  // Gives up ownership: the caller closes the handle.
  void* release() noexcept { return std::exchange(handle_, nullptr); }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  section root() const { return section(handle_ != nullptr ? zemGetRoot(handle_) : nullptr); }
  // The top-level sections.
  detail::children<section, zemGetNoSections, zemSectionByNum> sections() const { return root().sections(); }
  // A section by path "A/B:2/C"; an empty object when there is none.
  section find(const std::string& path) const {
    return section(handle_ != nullptr ? zemFindSectionByHandle(handle_, path.c_str()) : nullptr);
  }

 private:
  void close() noexcept {
    if (handle_ != nullptr) zemClose(&handle_);
  }
  void* handle_ = nullptr;
};

}  // namespace zem

#endif /* ZEM_ZEM_HPP */
