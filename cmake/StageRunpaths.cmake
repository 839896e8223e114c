# cmake -DSTAGE=<dir> -P StageRunpaths.cmake: gives the program and the modules copied from the
# build tree into a tree laid out as installed (bin, lib, lib/talvio) a RUNPATH of just the
# library folder relative to each. The build tree's RUNPATH ends with an empty entry, which makes
# the dynamic linker look in the working directory before the system's folders.
file(RPATH_SET FILE ${STAGE}/bin/talvio NEW_RPATH "\$ORIGIN/../lib")
foreach(module kvtbus kvtwindows)
    file(RPATH_SET FILE ${STAGE}/lib/talvio/${module}.so NEW_RPATH "\$ORIGIN/..")
endforeach()
