// A temporary configuration folder for tests that touch the registry: XDG_CONFIG_HOME points
// at it while the object lives, and it is removed afterwards.
#pragma once
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

class ConfigHome {
public:
    ConfigHome() {
        static int counter = 0;
        dir_ = std::filesystem::temp_directory_path() /
               ("vw-config-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(dir_);
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
        ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    }
    ~ConfigHome() {
        if (old_)
            ::setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    ConfigHome(const ConfigHome&) = delete;
    ConfigHome& operator=(const ConfigHome&) = delete;

    // Writes `text` to the file at `relative` (folders created as needed).
    void write(const std::string& relative, const std::string& text) const {
        std::filesystem::path file = dir_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
    std::optional<std::string> old_;
};
