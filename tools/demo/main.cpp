// Writes the demo networks into a data folder: demo/demo.manifest, the cable and terrestrial
// manifests beside it, and their captures, and
// satellitecfg.txt unless the folder has one already (a user may have edited it). The list
// as made also goes to demo/satellitecfg.txt, which is what gets installed. Each file is
// written beside its place and renamed there when complete.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/demo/demo_network.h"

namespace {

void write_file(const std::filesystem::path& path, const void* data, std::size_t size) {
    const std::filesystem::path partial = path.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out.flush()) throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, path);
}

void write_text(const std::filesystem::path& path, const std::string& text) {
    write_file(path, text.data(), text.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: kestrel-demo-network DATA_FOLDER\n");
        return argc == 2 ? 0 : 2;
    }
    try {
        const std::filesystem::path data = argv[1];
        const std::filesystem::path folder = data / "demo";
        std::filesystem::create_directories(folder);
        std::vector<const kestrel::demo::network*> networks{&kestrel::demo::terrestrial(),
                                                            &kestrel::demo::cable()};
        for (const auto& sat : kestrel::demo::satellites())
            networks.push_back(&sat);
        for (const kestrel::demo::network* net : networks)
            for (const auto& tp : net->transponders) {
                const std::vector<std::uint8_t> bytes = kestrel::demo::capture(*net, tp);
                write_file(folder / tp.file, bytes.data(), bytes.size());
            }
        for (const kestrel::demo::network* ground : {&kestrel::demo::terrestrial(), &kestrel::demo::cable()})
            write_text(folder / kestrel::demo::manifest_file(*ground), kestrel::demo::manifest(*ground));
        write_text(folder / "demo.manifest", kestrel::demo::manifest());
        write_text(folder / "satellitecfg.txt", kestrel::demo::satellite_list());
        if (!std::filesystem::exists(data / "satellitecfg.txt"))
            write_text(data / "satellitecfg.txt", kestrel::demo::satellite_list());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrel-demo-network: %s\n", e.what());
        return 1;
    }
    return 0;
}
