// The program's own texts by number. The resource script builds the string
// table from these, and native builds use them directly.
#pragma once

#define TEXT_1004 "Init Data..."
#define TEXT_1005 "Remove ShellObj "
#define TEXT_1006 "Remove RegInfo"
#define TEXT_1007 "UnRegist %s"
#define TEXT_1008 "Remove %s"
#define TEXT_1009 "Uninstall is error!"
#define TEXT_1010 "Uninstall is successfully!"
#define TEXT_1011 "%s has not been successfully uninstalled."
#define TEXT_1012 "%s has been successfully uninstalled."
#define TEXT_1013 "Not find Uninstall Info"
#define TEXT_1014 "Are you sure you want to uninstall %s ?"
#define TEXT_1016 "Uninstall %s"
#define TEXT_1017 "Cleaning application : %s"
#define TEXT_1018 "Stop service %s"
#define TEXT_1019 "Waiting for uninstall..."
