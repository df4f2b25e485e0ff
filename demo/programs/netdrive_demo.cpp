// Demo driver: loads an Orvandel.dll and calls its exports step by step,
// printing each call and its answer. Beside the stand-in provider it can
// script connections first.
//
// netdrive_demo.exe LIBRARY STEP...
//   connect=LOCAL,REMOTE,PROVIDER,USER   (stand-in provider only)
//   list | provider=NAME | host=NAME | user=NAME | mount=PATH | cancel=NAME

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "loaded_library.h"
#include "standin_control.h"
#include "test_jni_env.h"

namespace {

constexpr const char* prefix = "Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_";

using StringExport = jstring JNICALL(JNIEnv*, jobject, jstring);
using BooleanExport = jboolean JNICALL(JNIEnv*, jobject, jstring);
using ListingExport = jstring JNICALL(JNIEnv*, jobject);

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  parts.push_back(text.substr(start));
  return parts;
}

class Driver {
 public:
  explicit Driver(const std::string& libraryPath) : library_(libraryPath) {}

  bool run(const std::string& step) {
    const std::size_t equals = step.find('=');
    const std::string verb = step.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : step.substr(equals + 1);
    if (verb == "connect") return connect(value);
    if (verb == "list") {
      const jstring names = exported<ListingExport>("getAllConnectedDeviceNames")(jni_.env(), nullptr);
      std::printf("getAllConnectedDeviceNames() -> \"%s\"\n", jni_.text(names).c_str());
      return true;
    }
    if (verb == "cancel") {
      const bool done = exported<BooleanExport>("disconnectConnection")(jni_.env(), nullptr, argument(value));
      std::printf("disconnectConnection(\"%s\") -> %s\n", value.c_str(), done ? "true" : "false");
      return true;
    }
    const char* method = verb == "provider" ? "getProviderNameFor"
                         : verb == "host"   ? "getHostNameFor"
                         : verb == "user"   ? "getUserIDFor"
                         : verb == "mount"  ? "getMountLocationFor"
                                            : nullptr;
    if (!method) {
      std::printf("unknown step: %s\n", step.c_str());
      return false;
    }
    const jstring answer = exported<StringExport>(method)(jni_.env(), nullptr, argument(value));
    std::printf("%s(\"%s\") -> \"%s\"\n", method, value.c_str(), jni_.text(answer).c_str());
    return true;
  }

 private:
  template <typename Export>
  Export* exported(const char* method) const {
    return library_.get<Export>((std::string(prefix) + method).c_str());
  }
  jstring argument(const std::string& value) { return jni_.javaString(value); }

  bool connect(const std::string& value) {
    const std::vector<std::string> fields = split(value, ',');
    if (fields.size() != 4) {
      std::printf("connect needs LOCAL,REMOTE,PROVIDER,USER\n");
      return false;
    }
    if (!provider_) provider_.emplace();
    provider_->addConnection(fields[0].c_str(), fields[1].c_str(), fields[2].c_str(), nullptr, fields[3].c_str(),
                             standin::DISK);
    std::printf("stand-in provider: %s connected to %s by %s (provider %s)\n", fields[0].c_str(), fields[1].c_str(),
                fields[3].c_str(), fields[2].c_str());
    return true;
  }

  kel::test::LoadedLibrary library_;
  kel::test::TestJniEnv jni_;
  std::optional<standin::Provider> provider_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: netdrive_demo LIBRARY STEP...\n");
    return 2;
  }
  try {
    Driver driver(argv[1]);
    for (int i = 2; i < argc; ++i)
      if (!driver.run(argv[i])) return 1;
  } catch (const std::exception& e) {
    std::printf("netdrive_demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
