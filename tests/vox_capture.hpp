// Captures every report sent through vox while in scope, and clears the global
// error code on entry and exit so that each test sees only its own failures.
#pragma once

#include <string>
#include <vector>

#include "vox/vox.h"
#include "zem/zem.h"

struct CapturedReport {
  std::string text;
  int kind;
};

class ReportCapture {
 public:
  ReportCapture() {
    voxSetSink(&ReportCapture::receive, this);
    zemGetErrorGlb();
  }
  ~ReportCapture() {
    voxSetSink(nullptr, nullptr);
    zemGetErrorGlb();
  }
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

  const std::vector<CapturedReport>& reports() const { return reports_; }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const CapturedReport& r : reports_) out.push_back(r.text);
    return out;
  }
  void clear() { reports_.clear(); }

 private:
  static void receive(const char* text, int kind, void* user) {
    static_cast<ReportCapture*>(user)->reports_.push_back({text, kind});
  }
  std::vector<CapturedReport> reports_;
};
