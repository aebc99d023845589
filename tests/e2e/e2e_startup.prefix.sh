# Plants a folder link inside a folder the temporary copy is asked to delete:
# C:\Linked\App\docs -> C:\LinkTarget, whose content must survive.
prefix=$1
mkdir -p "$prefix/drive_c/LinkTarget" "$prefix/drive_c/Linked/App"
printf 'precious\n' > "$prefix/drive_c/LinkTarget/keep.txt"
ln -sfn ../../LinkTarget "$prefix/drive_c/Linked/App/docs"
