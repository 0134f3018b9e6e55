// Exports of loading: zemLoadFile, the load's error record and statistics,
// and the file a node was loaded from.
#include <new>

#include "frame/checks.hpp"
#include "frame/error_state.hpp"
#include "model/named_nodes.hpp"
#include "text/file_stream.hpp"
#include "text/load_handle.hpp"
#include "api/load_input.hpp"
#include "text/zem_parser.hpp"
#include "vox/vox.h"
#include "zem/zem.h"

using namespace zem;

namespace {

CzemNode* firstParam(CzemNode* section, const char* keyword) {
  CzemNode* node = section->KeywordByNameNum(keyword, 1);
  return node != nullptr ? node->ParamByNum(1) : nullptr;
}

// The result-folder settings of a top-level SYSTEM section. The getters report
// a value of the wrong kind whatever the load's quiet flag.
void readSystemSection(CzemTargetList* root) {
  CzemNode* system = root->SectionByNameNum("SYSTEM", 1);
  if (system == nullptr) return;
  if (CzemNode* param = firstParam(system, "ResultRootFolder")) {
    if (const char* folder = param->GetFilename()) root->setResultRoot(folder);
  }
  int useCustom = 0;
  if (CzemNode* param = firstParam(system, "UseCustomResultFolder")) useCustom = param->GetBool();
  if (CzemNode* param = firstParam(system, "CustomResultFolder")) {
    if (const char* folder = param->GetFilename()) {
      root->setCustomFolder(folder);
      root->setUseCustom(useCustom);
    }
  }
}

CzemLoad* load(const char* fileName, bool quiet) {
  CyyStream* stream = nullptr;
  try {
    stream = new CyyStream(fileName);
  } catch (const std::bad_alloc&) {
    storeError(kErrFileInit);
    if (!quiet) voxZemMsg("CyyStream", 1, nullptr);
    return nullptr;
  }
  if (stream->state() != CyyInput::kReady) {
    delete stream;
    storeError(kErrFileOpen);
    if (!quiet) voxZemMsg("Open error: %", 1, voxString(fileName, nullptr));
    return nullptr;
  }
  return loadFromInput(stream, fileName, quiet);
}

}  // namespace

CzemLoad* zem::loadFromInput(CyyInput* input, const char* fileName, bool quiet) {
  CzemParser* parser = nullptr;
  try {
    parser = new CzemParser(input);
  } catch (const std::bad_alloc&) {
    delete input;
    storeError(kErrParserInit);
    if (!quiet) voxZemMsg("CzemParser", 1, nullptr);
    return nullptr;
  }
  if (parser->parse(0) != 0) {
    storeError(kErrParse);
    if (!quiet) {
      VoxArg* args = voxInt(static_cast<int>(parser->errorPosition()), nullptr);
      args = voxInt(static_cast<int>(parser->errorLine()), args);
      args = voxString(fileName, args);
      args = voxString(parser->errorMessage().c_str(), args);
      voxZemMsg("Error: %\n in % near line % position %", 1, args);
    }
  }
  if (CzemTargetList* root = parser->root()) {
    root->setAnchor(fileName);
    readSystemSection(root);
  }
  try {
    return new CzemLoad(parser);
  } catch (const std::bad_alloc&) {
    delete parser;
    storeError(kErrParserInit);
    if (!quiet) voxZemMsg("CzemParser", 1, nullptr);
    return nullptr;
  }
}

extern "C" {

void* zemLoadFile(const char* fileName, int quiet) {
  takeError();
  return static_cast<CzemBase*>(load(fileName, quiet != 0));
}

const char* zemGetZemFileName(void* node) {
  CzemNode* n = checkNode(node, false);
  return n != nullptr ? n->top()->GetAnchorFilename() : kEmptyText;
}

const char* zemGetSyntaxErr(void* handle, int* line, int* position, const char** message) {
  CzemLoad* load = checkLoad(handle);
  const char* text = load != nullptr ? load->parser().errorMessage().c_str() : kEmptyText;
  if (line != nullptr) *line = load != nullptr ? static_cast<int>(load->parser().errorLine()) : 0;
  if (position != nullptr) *position = load != nullptr ? static_cast<int>(load->parser().errorPosition()) : 0;
  if (message != nullptr) *message = text;
  return text;
}

int zemNoChars(void* handle) {
  CzemLoad* load = checkLoad(handle);
  return load != nullptr ? static_cast<int>(load->parser().input().characters()) : 0;
}

int zemNoLines(void* handle) {
  CzemLoad* load = checkLoad(handle);
  return load != nullptr ? static_cast<int>(load->parser().input().line()) : 0;
}

int zemNoComments(void* handle) {
  CzemLoad* load = checkLoad(handle);
  return load != nullptr ? static_cast<int>(load->parser().comments()) : 0;
}

int zemNoTokens(void* handle) {
  CzemLoad* load = checkLoad(handle);
  return load != nullptr ? static_cast<int>(load->parser().tokenTexts()) : 0;
}

}  // extern "C"
