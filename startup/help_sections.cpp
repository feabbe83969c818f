#include "startup/help_sections.h"

#include "startup/build_info.h"

namespace kestrel::startup {

std::string shared_help_sections(std::string_view program) {
    const std::string trace(program);
    return "files:\n"
           "  ~/.config/Tidewell/kestrel.conf\n"
           "                   the settings of kestrel and kestrel-cli\n"
           "  ~/.config/kestrel/satellitecfg.txt\n"
           "                   the user's satellite list, read before the installed one\n"
           "  PREFIX/share/kestrel/satellitecfg.txt\n"
           "                   the installed satellite list (PREFIX: the folder above the\n"
           "                   program's bin/)\n"
           "  PREFIX/share/kestrel/registries/\n"
           "                   the DVB identifier registries that name networks and CA systems\n"
           "  PREFIX/share/kestrel/demo/\n"
           "                   the demo network that --card demo plays\n"
           "  ~/.local/state/kestrel/" +
           trace +
           ".txt\n"
           "                   the trace log, renewed at every start\n"
           "  ~/.local/state/kestrel/kestrel1.txt\n"
           "                   the CSV log of the card's events, appended to by every run\n"
           "A program run from its build folder keeps its logs and reads its data beside\n"
           "itself.\n"
           "\n"
           "environment:\n"
           "  XDG_CONFIG_HOME  the folder of the settings and of the user's satellite list\n"
           "                   (default ~/.config)\n"
           "  XDG_STATE_HOME   the folder of the logs (default ~/.local/state)\n"
           "\n"
           "DVB devices:\n"
           "The Linux DVB adapters (/dev/dvb/adapterN) belong to the group video: only its\n"
           "members may open them. 'id -nG' lists your groups;\n"
           "'sudo usermod -aG video $USER' adds you, from your next login on.\n"
           "'kestrel-cli cards' says when an adapter exists but cannot be opened.\n";
}

std::string version_line(std::string_view program) {
    return std::string(program) + " " + version_text() + " (build " + std::to_string(build_number()) + ")";
}

}  // namespace kestrel::startup
