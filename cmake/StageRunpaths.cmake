# cmake -DSTAGE=<dir> -P StageRunpaths.cmake: gives the program, the modules and the Calc component
# copied from the build tree into a tree laid out as installed (bin, lib, lib/talvio) a RUNPATH of
# just the library folder relative to each. The build tree's RUNPATHs name the build's own folders
# (the component's, LibreOffice's SDK), which a user's machine may not have or may not trust.
file(RPATH_SET FILE ${STAGE}/bin/talvio NEW_RPATH "\$ORIGIN/../lib")
foreach(module kvtbus kvtwindows)
    file(RPATH_SET FILE ${STAGE}/lib/talvio/${module}.so NEW_RPATH "\$ORIGIN/..")
endforeach()
# Calc has loaded LibreOffice's own libraries before the component: it needs only the library.
file(RPATH_SET FILE ${STAGE}/lib/talviocalc.so NEW_RPATH "\$ORIGIN")
