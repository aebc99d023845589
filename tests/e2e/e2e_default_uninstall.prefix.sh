# Plants a folder link inside the first installation's "DescPath" tree:
# C:\Program Files\E2E A\docs -> C:\LinkTarget, which holds only an empty
# folder. The clean-up of empty folders must neither enter nor remove it.
prefix=$1
mkdir -p "$prefix/drive_c/LinkTarget/empty" "$prefix/drive_c/Program Files/E2E A"
ln -sfn ../../LinkTarget "$prefix/drive_c/Program Files/E2E A/docs"
