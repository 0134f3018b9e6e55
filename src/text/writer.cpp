#include "text/writer.hpp"

#include <cstdio>
#include <ctime>

#include "frame/identity.hpp"
#include "text/output_stream.hpp"

namespace zem {

void writeDocumentHeader(OutputStream& out) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%d %d:%d:%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
  out << "// Created     : " << stamp;
  out.endLine();
  out << "// DLL         : " << libraryIdentity();
  out.endLine();
  out << "// Version     : " << hostBuildVersion();
  out.endLine();
  out.endLine();
}

}  // namespace zem
