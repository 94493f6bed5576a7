#!/usr/bin/env python3
"""Injects faults into the program one at a time and reports which ones the
test suite catches. Each fault replaces text in one source file; the tree is
rebuilt, the unit tests run, and the end-to-end runs too when the unit tests
pass. The file is restored afterwards, also when the run is interrupted.

  scripts/fault_sample.py [--only 1,5,7] [--list] [--skip-check]

Run it in a checkout of its own: it edits the sources it is started in.
"""
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# (folder-level label, file, [(old, new), ...])
FAULTS = [
    ("leave opacity", "skin/interaction/mouse_handlers.cpp",
     [("VisualState::Hot, 140)", "VisualState::Hot, 120)")]),
    ("hot face level clamp", "skin/interaction/button_faces.cpp",
     [("prop::kAlphaLevel, 255)", "prop::kAlphaLevel, 250)")]),
    ("fade step", "skin/interaction/fade_step.h",
     [("kFadeStep = 3;", "kFadeStep = 5;")]),
    ("fade end condition", "skin/interaction/fade_step.cpp",
     [("if (next > kFadeTopLevel)", "if (next >= kFadeTopLevel)")]),
    ("hot or pressed by mouse button", "skin/interaction/mouse_handlers.cpp",
     [("? VisualState::Pressed : VisualState::Hot", "? VisualState::Hot : VisualState::Pressed")]),
    ("combo button hit margin", "skin/interaction/hit_tests.cpp",
     [("width - scrollWidth - 2 <= x", "width - scrollWidth - 4 <= x")]),
    ("frame colour", "skin/render/skin_colours.h",
     [("kFrameColour = 0x00D5A554", "kFrameColour = 0x00D5A555")]),
    ("disabled caption colour", "skin/render/skin_colours.h",
     [("kDisabledCaptionColour = 0x00968A79", "kDisabledCaptionColour = 0x00968A78")]),
    ("progress fill colour", "skin/render/skin_colours.h",
     [("kProgressFillColour = 0x00F6D64C", "kProgressFillColour = 0x00F6D64D")]),
    ("button image table colour", "skin/render/image_pixels.cpp",
     [("{0x69B2E2, 0x7EC0E7, 0xE7F3FB, 0xFFFFFF}", "{0x69B2E2, 0x7EC0E8, 0xE7F3FB, 0xFFFFFF}")]),
    ("progress range", "skin/render/progress_fill.cpp",
     [("/ 30000.0f", "/ 32767.0f")]),
    ("transparent blit raster operation", "skin/render/transparent_blit.cpp",
     [("kDestAndNotSource = 0x00220326", "kDestAndNotSource = 0x008800C6")]),
    ("class classification", "skin/core/control_kind.cpp",
     [('{L"thunderrt6checkbox", ControlKind::CheckBox}', '{L"thunderrt6checkbox", ControlKind::OptionButton}')]),
    ("flat border condition", "skin/core/nc_paint.cpp",
     [("GWL_EXSTYLE) & WS_EX_CLIENTEDGE) DrawFlatBorder", "GWL_EXSTYLE) & WS_EX_STATICEDGE) DrawFlatBorder")]),
    ("initial state of a disabled button", "skin/core/skin_window.cpp",
     [("IsWindowEnabled(window) ? VisualState::Normal", "!IsWindowEnabled(window) ? VisualState::Normal")]),
    ("descendants after the form", "skin/core/skin_window.cpp",
     [("    case ControlKind::Form:\n      EnumChildWindows(window, SkinChildProc, 0);\n      break;",
       "    case ControlKind::Form:\n      break;"),
      ("  RepaintWhole(window);\n  return 1;\n}\n\nint UnskinWindow",
       "  RepaintWhole(window);\n  if (ClassifyWindow(window) == ControlKind::Form) "
       "EnumChildWindows(window, SkinChildProc, 0);\n  return 1;\n}\n\nint UnskinWindow")]),
    ("detach result", "skin/clsSkinner.cpp",
     [("{ return StopSkin(window); }", "{ StopSkin(window); return 1; }")]),
    ("text box tab index", "app/frm_main.cpp",
     [("txtClip_[i]->SetTabIndex(8 + n);", "txtClip_[i]->SetTabIndex(9 + n);")]),
    ("minimum height at start-up", "app/frm_main.cpp",
     [("if (height < 4225) height = 4225;", "if (height < 4200) height = 4200;")]),
    ("negative left clamp", "app/frm_main.cpp",
     [("if (left < 0) left = 0;", "if (left < -15) left = 0;")]),
    ("last slot height", "app/frm_main.cpp",
     [("txtClip(9).SetHeight(Height() - 4110);", "txtClip(9).SetHeight(Height() - 4100);")]),
    ("skin and hotkey procedure order", "app/frm_main.cpp",
     [("  if (!highContrast_) skinner_->AttachSkin(hwnd());\n", ""),
      ("  const std::vector<int> heldHotKeys", "  if (!highContrast_) skinner_->AttachSkin(hwnd());\n  const std::vector<int> heldHotKeys")]),
    ("ini value's leading blank", "app/mod_ini.cpp",
     [("return value >= 0 ? \" \"", "return value > 0 ? \" \"")]),
    ("clipboard format rendered", "app/clipboard/paste_clipboard.cpp",
     [("if (block && !SetClipboardData(CF_UNICODETEXT, block))", "if (block && !SetClipboardData(CF_TEXT, block))")]),
    ("hotkey ids", "app/hot_key_id.h",
     [("return group * 100 + virtualKey;", "return group * 10 + virtualKey;")]),
    ("slot row updated", "app/slots/slot_store.cpp",
     [('"select rowid, cont from data where id=?1"', '"select rowid, cont from data where id=?1 order by rowid desc"')]),
    ("slot tab index", "app/frm_main.cpp",
     [("n == 9 ? 20 : 2 * n + 18", "n == 9 ? 21 : 2 * n + 18")]),
    ("slot not changed here written over another program's value", "app/slots/slot_store.cpp",
     [("baseline != nullptr && text == *baseline", "false && baseline != nullptr && text == *baseline")]),
    ("every slot written at shut-down", "app/slots/slot_store.cpp",
     [("const bool created = db.Created();", "const bool created = true;")]),
    ("failed slot write not tried again", "app/slots/slot_writer.cpp",
     [("  if (!waiting) waiting = std::move(text);\n", "")]),
    ("failed slot write told at every try", "app/slots/slot_writer.cpp",
     [("  if (told_ || !onFailure_) return;", "  if (!onFailure_) return;")]),
    ("slot handed to the writer at every change", "app/slots/slot_keeper.cpp",
     [("  if (timer_) return;\n  firstChange_", "  Hand();\n  if (timer_) return;\n  firstChange_")]),
    ("typing that never pauses is not written", "app/slots/slot_keeper.cpp",
     [("if (now < pauseEnds && now < latest)", "if (now < pauseEnds)")]),
    ("last row of an id taken over instead of the first", "app/slots/slot_import.cpp",
     [("if (found[n - 1] || !SameId(row.id, n)) continue;", "if (!SameId(row.id, n)) continue;")]),
    ("old ids compared as integers only", "app/slots/slot_import.cpp",
     [("      return id.integer == int64_t{n} * 10000;", "      return false;")]),
    ("rows with other ids left out of the new file", "app/slots/slot_import.cpp",
     [("      insert.Reset();\n      BindId(insert, row.id);",
       "      if (row.id.kind == jet::ValueKind::kInteger && (row.id.integer < 1 || row.id.integer > 9)) continue;\n"
       "      insert.Reset();\n      BindId(insert, row.id);")]),
    ("old Null written as the empty text", "app/slots/slot_import.cpp",
     [("if (!row.cont.is_null()) insert.BindText(2", "insert.BindText(2")]),
    ("old file replaced before the new one is complete", "app/slots/slot_import.cpp",
     [("    WriteOldRows(temp, rows);\n    Done(\"rows written\");",
       "    WriteOldRows(temp, {});\n    MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);\n"
       "    Done(\"replaced\");\n    DeleteFileW(path.c_str());\n    WriteOldRows(temp, rows);\n    Done(\"rows written\");")]),
    ("old file replaced before it is kept", "app/slots/slot_import.cpp",
     [("    result.keptPath = KeepOldFile(appFolder, old.bytes, &madeCopy);\n    Done(\"kept\");\n", ""),
      ("    Done(\"replaced\");\n",
       "    Done(\"replaced\");\n    result.keptPath = KeepOldFile(appFolder, old.bytes, &madeCopy);\n    Done(\"kept\");\n")]),
    ("kept copy written over an existing file", "app/slots/slot_import.cpp",
     [("    if (Exists(kept)) {", "    if (false && Exists(kept)) {"),
      ("MoveFileExW(temp.c_str(), kept.c_str(), MOVEFILE_WRITE_THROUGH)",
       "MoveFileExW(temp.c_str(), kept.c_str(), MOVEFILE_WRITE_THROUGH | MOVEFILE_REPLACE_EXISTING)")]),
    ("kept copy made anew at every try", "app/slots/slot_import.cpp",
     [("      if (Holds(kept, bytes)) return kept;", "      if (false && Holds(kept, bytes)) return kept;")]),
    ("temporary files of a stop half-way left", "app/slots/slot_import.cpp",
     [("    RemoveTemporaryFiles(appFolder);\n    result.keptPath", "    result.keptPath")]),
    ("old file read past its size bound", "app/slots/slot_import.cpp",
     [("if (size > kMaxOldFileBytes) {", "if (size > 2 * kMaxOldFileBytes) {")]),
    ("write while the old file is held goes to it", "app/slots/slot_store.cpp",
     [("  CheckSlot(slot);\n  TakeOverOldFile();", "  CheckSlot(slot);")]),
    ("old file the folder would not let go of not told", "app/frm_main.cpp",
     [("  if (const SlotImport* imported = keeper_->Imported()) {", "  if (const SlotImport* imported = keeper_->Imported(); imported && !imported->notTaken) {")]),
    ("clipboard format read", "forms/clipboard.cpp",
     [("GetClipboardData(CF_UNICODETEXT)", "GetClipboardData(CF_TEXT)")]),
    ("key up before key down", "forms/keystroke_sender.cpp",
     [("  inputs.push_back(KeyEvent(virtualKey, false));\n  inputs.push_back(KeyEvent(virtualKey, true));\n",
       "  inputs.push_back(KeyEvent(virtualKey, true));\n  inputs.push_back(KeyEvent(virtualKey, false));\n")]),
    ("elevated target sent the keystroke", "app/clipboard/paste_clipboard.cpp",
     [("elevated_ = target && access_(target) == TargetAccess::Elevated;",
       "elevated_ = target && access_(target) == TargetAccess::Elevated && false;")]),
    ("target that cannot be queried taken as reachable", "app/clipboard/paste_target.cpp",
     [("if (!targetLevel || *targetLevel > *ownLevel)", "if (targetLevel && *targetLevel > *ownLevel)")]),
    ("only the top-level window's process taken as the target", "app/clipboard/paste_clipboard.cpp",
     [("Contains(targetProcesses_, ProcessOf(opener))", "Contains({targetProcesses_.front()}, ProcessOf(opener))")]),
    ("slow target's offer emptied after 1.5 s", "app/clipboard/paste_clipboard.h",
     [("UINT keepMs = 10000;", "UINT keepMs = 1500;")]),
    ("user going to another window not watched", "app/clipboard/paste_clipboard.cpp",
     [("if (active && active != readingWindow_", "if (false && active && active != readingWindow_")]),
    ("busy clipboard at a paste not told", "app/clipboard/clipboard_actions.cpp",
     [("notice == PasteNotice::Elevated ? ActionNotice::Elevated : ActionNotice::PasteBusy",
       "((void)notice, ActionNotice::Elevated)")]),
    ("busy clipboard at a store not told", "app/clipboard/clipboard_actions.cpp",
     [("      host_.Tell(ActionNotice::StoreBusy, action.slot);\n", "")]),
    ("held key repeats", "app/mod_hot_key.cpp",
     [("static_cast<UINT>(group) | MOD_NOREPEAT", "static_cast<UINT>(group)")]),
    ("per-user folder although the program's folder takes files", "app/data_folder.cpp",
     [("if (localAppData.empty() || takesFiles(programFolder))",
       "if (localAppData.empty() || (takesFiles(programFolder) && false))")]),
    ("older of two old files taken over", "app/data_folder.cpp",
     [("if (newest.empty() || time > newestTime)", "if (newest.empty() || time < newestTime)")]),
    ("read-only folder taken as writable", "app/data_folder.cpp",
     [("return error != ERROR_ACCESS_DENIED && ", "return ")]),
    ("running copy not shown at a second start", "app/single_instance.cpp",
     [("  PostMessageW(window, ShowRunningCopyMessage(), 0, 0);\n", "")]),
    ("session end asks like a normal shut-down", "app/slots/slot_keeper.cpp",
     [("  if (!sessionEnding) return SaveOrAsk(texts);", "  if (sessionEnding || !sessionEnding) return SaveOrAsk(texts);")]),
    ("balloon at every trip to the tray", "app/frm_main.cpp",
     [("if (!trayTold_) mod_Tray::AddBalloon", "if (true) mod_Tray::AddBalloon")]),
    ("high contrast not followed while running", "app/frm_main.cpp",
     [("if (!skinner_ || forms::HighContrastOn() == highContrast_) return;",
       "if (!skinner_ || forms::HighContrastOn() == highContrast_ || true) return;")]),
    ("slot text in fixed colours in high contrast", "app/frm_main.cpp",
     [("txtClip(n).SetColors(highContrast_ ? forms::SystemColor(COLOR_WINDOWTEXT) : kTextForeColor",
       "txtClip(n).SetColors(kTextForeColor")]),
    ("window metric at the system DPI", "forms/dpi_metrics.cpp",
     [("return SystemMetricAtDpi(index, DpiOfWindow(window));", "return SystemMetricAtDpi(index, ((void)window, 96));")]),
    ("decimal scale ignored", "jet/row_decoder.cpp",
     [("value.text = DecimalText(data, column.scale);", "value.text = DecimalText(data, 0);")]),
    ("decimal sign bit", "jet/row_decoder.cpp",
     [("(data.U8(0, \"decimal sign\") & 0x80)", "(data.U8(0, \"decimal sign\") & 0x01)")]),
]


def stop(signum, frame):
    raise SystemExit(1)  # through the finally clauses, so that the file is restored


def run(args, log):
    with open(log, "a") as out:
        return subprocess.run(args, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT).returncode


def main():
    only = None
    args = sys.argv[1:]
    known = [a for i, a in enumerate(args) if a in ("--list", "--skip-check", "--only") or (i and args[i - 1] == "--only")]
    if len(known) != len(args):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    if "--list" in sys.argv:
        for i, (name, path, _) in enumerate(FAULTS, 1):
            print(f"{i:2} {path}: {name}")
        return 0
    if "--only" in sys.argv:
        only = {int(x) for x in sys.argv[sys.argv.index("--only") + 1].split(",")}
    signal.signal(signal.SIGTERM, stop)
    log = ROOT / "fault_sample.log"
    log.write_text("")
    # The unchanged tree must build and pass, or every fault would look caught.
    if "--skip-check" not in sys.argv and run(["scripts/test.sh", "-L", "unit"], log) != 0:
        print("the unchanged tree fails its unit tests; see fault_sample.log")
        return 1
    caught = tried = 0
    for i, (name, path, edits) in enumerate(FAULTS, 1):
        if only and i not in only:
            continue
        source = ROOT / path
        original = source.read_text()
        text = original
        for old, new in edits:
            if text.count(old) < 1:
                print(f"{i:2} {path}: {name}: text not found, skipped", flush=True)
                break
            text = text.replace(old, new, 1)
        else:
            start = time.time()
            try:
                source.write_text(text)
                with open(log, "a") as out:
                    out.write(f"\n===== fault {i}: {path}: {name}\n")
                by = None
                build = ROOT / "build"
                # Only a fault in the Jet reader can change what its native build tests.
                native = [] if path.startswith("jet/") else ["-E", "jet.native"]
                if run(["cmake", "--build", str(build), "-j", "2"], log) != 0:
                    by = "does not build"
                elif run(["scripts/test.sh", "-L", "unit"] + native, log) != 0:
                    by = "unit"
                elif run(["scripts/test.sh", "-L", "e2e"], log) != 0:
                    by = "e2e"
            finally:
                source.write_text(original)
            if by == "does not build":
                print(f"{i:2} {path}: {name}: does not build, skipped", flush=True)
                continue
            tried += 1
            caught += by is not None
            verdict = f"caught ({by})" if by else "SURVIVED"
            print(f"{i:2} {path}: {name}: {verdict} [{time.time() - start:.0f} s]", flush=True)
    print(f"caught {caught} of {tried}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
