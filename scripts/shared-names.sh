# Sourced by the scripts that name the programs' files: the names come from
# common/shared_names.h, the one file that spells them for the programs,
# the build and the tests.
#
#   shared_name HOST_FILE    prints Brumalis.scr (`#define BRUMALIS_HOST_FILE "Brumalis.scr"`)
shared_name() {
  local value
  value=$(sed -n "s/^#define BRUMALIS_$1 \"\\{0,1\\}\\([^\"]*\\)\"\\{0,1\\}\$/\\1/p" \
    "$(dirname "${BASH_SOURCE[0]}")/../common/shared_names.h")
  [ -n "$value" ] || { echo "common/shared_names.h defines no BRUMALIS_$1" >&2; return 1; }
  echo "$value"
}
