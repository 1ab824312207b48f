"""Deliberate faults, one at a time, over the unit tests that guard them:
each is a one-line change to the product (a constant, a bound, an order, a
missing call), built into its test program, which must then fail. A fault
whose program still passes is a gap in the tests.

    python3 -m tools.fault_run [--only NAME...] [--skip-windows] [--out FILE]

Run by hand after `make build` (never by make test): it rewrites product
files in place and puts each back, from memory, before the next fault.
Windows faults run their program under Wine (win64) on a private display."""

import argparse
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# name, file, text as it is, text with the fault, preset, test program
FAULTS = [
    ("lattice scale 1/32768", "renderer/cloud_noise.cpp", "1.0f / 32767.0f;", "1.0f / 32768.0f;", "native", "unit_tests"),
    ("generator increment", "renderer/cloud_noise.cpp", "214013u + 2531011u", "214013u + 2531012u", "native", "unit_tests"),
    ("tap before wraps to 30", "renderer/cloud_noise.cpp", "Wrap(i + 31)", "Wrap(i + 30)", "native", "unit_tests"),
    ("no clear-sky clamp", "renderer/cloud_noise.cpp", "if (v < 0.0f) v = 0.0f;", "", "native", "unit_tests"),
    ("density rounded", "renderer/cloud_noise.cpp", "static_cast<int>(density)", "static_cast<int>(density + 0.5)", "native", "unit_tests"),
    ("lattice x fastest", "renderer/cloud_noise.cpp", "x * kLatticeSize * kLatticeSize + y * kLatticeSize + z",
     "z * kLatticeSize * kLatticeSize + y * kLatticeSize + x", "native", "unit_tests"),
    ("octave frequency x3", "renderer/cloud_noise.cpp", "frequency *= 2.0f", "frequency *= 3.0f", "native", "unit_tests"),
    ("slice complete a row early", "renderer/cloud_noise.cpp", "return endRow == kSliceSize;", "return endRow >= kSliceSize - 1;", "native", "unit_tests"),
    ("cover high 174", "renderer/cloud_pacing.cpp", "kCoverHigh = 170.0f", "kCoverHigh = 174.0f", "native", "unit_tests"),
    ("carry 0.5 s", "renderer/cloud_pacing.cpp", "kMaxCarrySeconds = 0.25", "kMaxCarrySeconds = 0.5", "native", "unit_tests"),
    ("rows rounded", "renderer/cloud_pacing.cpp", "std::floor((elapsedSeconds", "std::round((elapsedSeconds", "native", "unit_tests"),
    ("fade 1 kept", "renderer/cloud_pacing.cpp", "if (fade == 1.0f) fade = 0.0f;", "", "native", "unit_tests"),
    ("next depth from the beat", "renderer/cloud_pacing.cpp", "    p.SliceDepth = SliceDepthAt(elapsedSeconds);\n    StepCoverOnce",
     "    p.SliceDepth = SliceDepthAt(nextStart);\n    StepCoverOnce", "native", "unit_tests"),
    ("cover lap off by one", "renderer/cloud_pacing.cpp", "% (k + 1);", "% (k + 2);", "native", "unit_tests"),
    ("catch-up builds one slice", "renderer/cloud_pacing.h", "slices > 2 ? slices - 2 : 0", "slices > 1 ? slices - 1 : 0", "native", "unit_tests"),
    ("scroll s reversed", "renderer/sky_scene.cpp", "kScrollS = 0.0125", "kScrollS = -0.0125", "native", "unit_tests"),
    ("scroll floored", "renderer/sky_scene.cpp", "offset - std::trunc(offset)", "offset - std::floor(offset)", "native", "unit_tests"),
    ("title at exactly 3 s", "renderer/sky_scene.cpp", "!(span > kTitleSeconds)", "!(span >= kTitleSeconds)", "native", "unit_tests"),
    ("fog alpha 1", "renderer/sky_scene.cpp", "rgba[3] = 0.0f;", "rgba[3] = 1.0f;", "native", "unit_tests"),
    ("blend multiplies first", "controls/frame_x.cpp", "(ac - bc) / n * k", "(ac - bc) * k / n", "native", "unit_tests"),
    ("opacity inverted", "controls/frame_x.cpp", "g, 100, 100 - shadowOpacity_)", "g, 100, shadowOpacity_)", "native", "unit_tests"),
    ("one ring fewer", "controls/frame_x.cpp", "for (int i = 0; i <= d; ++i)", "for (int i = 0; i < d; ++i)", "native", "unit_tests"),
    ("run shows unsealed path", "host/settings.cpp", "purpose == LoadFor::Dialog && NeedsSeal(form)",
     "NeedsSeal(form)", "native", "unit_tests"),
    ("browser opens unsealed folder", "host/settings.cpp", "music.BgmFile.empty() || music.BgmFileUnsealed ?",
     "music.BgmFile.empty() ?", "native", "unit_tests"),
    ("unsealed path opens", "common/path_trust.cpp", "return NeedsSeal(form) && sealedForThisUser;",
     "return NeedsSeal(form);", "native", "unit_tests"),
    ("halves round up", "common/numbers.cpp", "if (diff > 0.5) return down + 1;", "if (diff >= 0.5) return down + 1;", "native", "unit_tests"),
    ("top of range refused", "common/numbers.cpp", "value <= static_cast<double>(std::numeric_limits<Int>::max())",
     "value < static_cast<double>(std::numeric_limits<Int>::max())", "native", "unit_tests"),
    ("free hook entry not reused", "controls/message_hook.cpp", "    if (list[i] == 0) {", "    if (list[i] == -1) {", "native", "unit_tests"),
    ("handled before runs on", "controls/message_hook.cpp", "    if (handled) return result;\n", "", "native", "unit_tests"),
    ("far edge outside", "controls/xp_button.cpp", "x >= 0 && x <= W()", "x >= 0 && x < W()", "native", "unit_tests"),
    ("&& skips one", "controls/xp_button.cpp", "p = amp + 1 + 2;", "p = amp + 2;", "native", "unit_tests"),
    # Windows glue, under Wine.
    ("button colours not forwarded", "formkit/child_notifications_win32.h", "    case WM_CTLCOLORBTN:\n", "", "win64", "win32_window_tests"),
    ("panel change not shown", "controls/frame_x_win32.cpp", "if (Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);", "", "win64", "win32_window_tests"),
    ("destroyed window keeps its hook", "controls/message_hook_win32.cpp", "      hook_.table_.UnhookWindow(window);\n", "", "win64", "win32_window_tests"),
    ("pointer leave not hooked", "controls/message_hook_win32.cpp", "      return WM_MOUSELEAVE;", "      return WM_MOUSEHOVER;", "win64", "win32_window_tests"),
]


def build(preset, target):
    return subprocess.run(["cmake", "--build", f"build/{preset}", "--target", target], cwd=ROOT,
                          stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT).returncode == 0


def run(preset, target, display):
    if preset == "native":
        command = [f"build/native/bin/{target}", "--gtest_brief=1"]
        env = os.environ
    else:
        command = ["scripts/wine-run.sh", preset, f"build/{preset}/bin/{target}.exe", "--gtest_brief=1"]
        env = dict(os.environ, DISPLAY=display)
    try:
        result = subprocess.run(command, cwd=ROOT, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                timeout=300, text=True, errors="replace")
    except subprocess.TimeoutExpired:
        return False, "timed out"
    failed = [line.split("]", 1)[1].strip().split(" ")[0] for line in result.stdout.splitlines()
              if line.startswith("[  FAILED  ]") and "." in line]
    return result.returncode == 0, " ".join(sorted(set(failed)))[:200]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--skip-windows", action="store_true")
    parser.add_argument("--out")
    args = parser.parse_args()
    faults = [f for f in FAULTS if (not args.only or f[0] in args.only) and not (args.skip_windows and f[4] != "native")]
    display, xvfb = "", None
    if any(f[4] != "native" for f in faults):
        started = subprocess.run([sys.executable, "-m", "testkit.display", "1024x768"], cwd=ROOT,
                                 stdout=subprocess.PIPE, text=True, check=True).stdout.split()
        display, xvfb = started[0], int(started[1])
    lines, caught = [], 0
    try:
        for name, path, before, after, preset, target in faults:
            full = os.path.join(ROOT, path)
            with open(full, encoding="utf-8") as f:
                original = f.read()
            if original.count(before) != 1:
                lines.append(f"BAD     {name}: the text to change is not there once")
                print(lines[-1], flush=True)
                continue
            try:
                with open(full, "w", encoding="utf-8") as f:
                    f.write(original.replace(before, after))
                if not build(preset, target):
                    outcome = "NOBUILD"
                    detail = ""
                else:
                    passed, detail = run(preset, target, display)
                    outcome = "missed" if passed else "caught"
                    caught += not passed
            finally:
                with open(full, "w", encoding="utf-8") as f:
                    f.write(original)
            lines.append(f"{outcome:7} {name} ({target}) {detail}")
            print(lines[-1], flush=True)
        for preset in sorted({f[4] for f in faults}):
            build(preset, "all")
    finally:
        if xvfb:
            os.kill(xvfb, 15)
    lines.append(f"caught {caught} of {len(faults)}")
    print(lines[-1])
    if args.out:
        with open(args.out, "w") as f:
            f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
