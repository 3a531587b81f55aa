# What the screenshot scripts of a built tree share (sourced, not run):
#   screenshots_begin SCREEN SCRIPT [build folder] [output folder]
# sets build (default build/asan) and out (default build/screenshots), both absolute, runs SCRIPT
# again under a virtual X server of that screen size (WIDTHxHEIGHT), and inside it makes a scratch
# folder with a private registry and runtime folder. Then:
#   shot NAME      the whole screen into $out/NAME.png
#   focus PATTERN  waits for a visible window whose name matches and gives it the keyboard (there
#                  is no window manager to do it); prints the window's id
screenshots_begin() {
  local screen=$1 script=$2
  build=$(cd "${3:-build/asan}" && pwd)
  out=${4:-build/screenshots}
  mkdir -p "$out"
  out=$(cd "$out" && pwd)
  if [ -z "${QB_SCREENSHOTS_INSIDE:-}" ]; then
    export QB_SCREENSHOTS_INSIDE=1
    exec xvfb-run -a -s "-screen 0 ${screen}x24" "$script" "$build" "$out"
  fi
  scratch=$(mktemp -d)
  export QUILLBASE_REGISTRY_DIR="$scratch/registry"
  export XDG_RUNTIME_DIR="$scratch/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
}

shot() { sleep 0.6; import -window root "$out/$1.png"; echo "$out/$1.png"; }

focus() {
  local id
  id=$(xdotool search --sync --onlyvisible --name "$1" | tail -1)
  xdotool windowfocus --sync "$id"
  echo "$id"
}
