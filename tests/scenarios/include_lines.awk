# Expands the scenario files' "@include NAME" lines into the lines of
# NAME.lines in the folder `dir` (awk -v dir=FOLDER -f include_lines.awk FILE).
# Shared by the scenario runner and the kernel rig's comparison.
/^@include [A-Za-z0-9_]+$/ {
  f = dir "/" $2 ".lines"
  while ((getline line < f) > 0) print line
  close(f)
  next
}
{ print }
