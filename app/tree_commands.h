#pragma once

// The commands of the table tree's context menus: the streaming commands collect the PIDs
// of a transponder or a program and open the multiple PID launcher on them; "Set tuner..."
// opens the tuning dialog on a satellite delivery system descriptor's transponder.

#include "app/command_host.h"
#include "app/command_table.h"
#include "views/tree_node.h"

class QWidget;

namespace kestrel::app {

// What a command asks of the card before its menu item can be chosen.
needs tree_command_needs(views::tree_command command);

// Runs `command` on `clicked`, the node the last right click hit (null when it hit none).
// A node that does not fit the command is said in a message box and nothing else happens.
// The dialogs opened are modal over `parent`.
void run_tree_command(views::tree_command command, const views::tree_node* clicked, command_host& host,
                      QWidget* parent);

}  // namespace kestrel::app
