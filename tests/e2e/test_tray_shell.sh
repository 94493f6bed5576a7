#!/usr/bin/env bash
# The tray icon and the shell: when the notification area is created again
# ("TaskbarCreated") while the window is in the tray the icon comes back, also
# when the old one is still there; the program ended while in the tray leaves
# no icon behind.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hotkey_lib.sh"

# The editor keeps the desktop and its task bar alive after the program ends.
start_editor
start_app
probe minimize >/dev/null; sleep 1
check "in the tray" "$(eventually "minimized hidden" probe --any state)" "minimized hidden"
check "icon shown" "$(eventually "1" probe --any trayicon)" "1"

# The icon still exists: the broadcast must neither fail nor bring the window out.
probe taskbarcreated >/dev/null; sleep 1
check "icon kept over TaskbarCreated" "$(eventually "1" probe --any trayicon)" "1"
check "still in the tray" "$(eventually "minimized hidden" probe --any state)" "minimized hidden"

# The shell lost its icons (as when it restarts), then announces itself.
check "icon removed behind the program's back" "$(eventually "1" probe --any traydelete)" "1"
check "no icon now" "$(eventually "0" probe --any trayicon)" "0"
probe taskbarcreated >/dev/null; sleep 1
check "TaskbarCreated brings the icon back" "$(eventually "1" probe --any trayicon)" "1"
check "window stays in the tray" "$(eventually "minimized hidden" probe --any state)" "minimized hidden"

# The icon brought back works.
click_at 1013 757; sleep 0.5
check "restored from the re-added icon" "$(eventually "normal visible" probe state)" "normal visible"
check "icon removed on restore" "$(eventually "0" probe trayicon)" "0"

# Not in the tray: the broadcast adds nothing.
probe taskbarcreated >/dev/null; sleep 1
check "no icon from TaskbarCreated while shown" "$(eventually "0" probe trayicon)" "0"

# Ended while in the tray: no stale icon.
probe minimize >/dev/null; sleep 1
pic="$(probe --any picture)"
check "icon of the window in the tray" "$(eventually "1" probe trayicon "$pic")" "1"
close_app
check "no icon left after the program ended" "$(eventually "0" probe trayicon "$pic")" "0"
