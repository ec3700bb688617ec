# The Debian package of the Linux library (cpack -G DEB in the native tree,
# ./scripts/package): libPLENWICKDLL.so in the folder where Debian's JVMs
# look for JNI libraries, /usr/lib/<multiarch>/jni/, and the Java class it
# serves under /usr/share/plenwick/java/. The dialog program, when the tree
# builds it, goes in a package of its own beside it: it links GTK and the
# library does not, so the library's package Recommends it and a server
# installed without recommended packages gets no GTK at all. Each package's
# Depends are computed from its own binaries by dpkg-shlibdeps.
#
# Set up at the end of the top directory, so that every target (the dialog
# program among them) exists whatever the order of the build files.

function(plenwick_debian_package)
  # The folder plenwick-print was built to load the library from.
  set(multiarch ${PLENWICK_MULTIARCH})
  execute_process(COMMAND dpkg-architecture ${PLENWICK_ARCH_OPTION} -qDEB_HOST_ARCH
    OUTPUT_VARIABLE architecture OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT multiarch OR NOT architecture)
    message(STATUS "No Debian architecture known: no Debian package")
    return()
  endif()

  set(library_package libplenwickdll-jni)
  set(dialogs_package plenwick-dialogs)
  # A reserved domain until the vendor names its own (lintian refuses a
  # host such as .local that could never take mail).
  set(PLENWICK_DEB_MAINTAINER "PLENWICKDLL developers <dev@plenwick.example>" CACHE STRING
    "Maintainer of the Debian packages, as 'Name <address>'")
  set(maintainer ${PLENWICK_DEB_MAINTAINER})
  set(jni_dir lib/${multiarch}/jni)
  # Debian revision 1 of the product's version: the changelog that lintian
  # asks of a package with a revision is changelog.Debian.gz.
  set(PLENWICK_DEB_VERSION ${PROJECT_VERSION}-1)
  # SOURCE_DATE_EPOCH, when set, makes the date (and so the package) the
  # same on every build.
  string(TIMESTAMP PLENWICK_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)

  # The changelog is compressed at build time, without a name or time stamp
  # in the gzip header, at the highest level, as lintian expects.
  set(doc_dir ${CMAKE_BINARY_DIR}/debian-doc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${doc_dir}/changelog.Debian @ONLY)
  add_custom_command(OUTPUT ${doc_dir}/changelog.Debian.gz
    COMMAND gzip -9nfk ${doc_dir}/changelog.Debian
    DEPENDS ${doc_dir}/changelog.Debian)
  add_custom_command(OUTPUT ${doc_dir}/plenwick-print.1.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/cmake/debian/plenwick-print.1 > ${doc_dir}/plenwick-print.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/debian/plenwick-print.1)
  # All the packages hold, and no more: ./scripts/package builds this alone
  # in a tree of its own (installing there needs nothing else built).
  add_custom_target(debian_package_files ALL DEPENDS ${doc_dir}/changelog.Debian.gz
    ${doc_dir}/plenwick-print.1.gz)
  add_dependencies(debian_package_files PLENWICKDLL plenwick-print)

  set(components library)
  install(TARGETS PLENWICKDLL LIBRARY DESTINATION ${jni_dir} COMPONENT library)
  # JVMs not built by Debian (Temurin and the other OpenJDK builds) never
  # look in the multiarch jni folder, but every one has /usr/lib on its
  # java.library.path: a link there lets them find the library too.
  file(CREATE_LINK ${multiarch}/jni/libPLENWICKDLL.so ${doc_dir}/libPLENWICKDLL.so SYMBOLIC)
  install(FILES ${doc_dir}/libPLENWICKDLL.so DESTINATION lib COMPONENT library)
  # The console printer, as a command, with its manual page.
  install(TARGETS plenwick-print RUNTIME DESTINATION bin COMPONENT library)
  install(FILES ${doc_dir}/plenwick-print.1.gz DESTINATION share/man/man1 COMPONENT library)
  install(FILES ${PROJECT_SOURCE_DIR}/java/doc/NativeWindows.java
    DESTINATION share/plenwick/java/doc COMPONENT library)
  # The options reference, for the users of the library.
  install(FILES ${PROJECT_SOURCE_DIR}/docs/options.md
    DESTINATION share/doc/${library_package} COMPONENT library)
  if(TARGET plenwick-dialogs)
    list(APPEND components dialogs)
    install(TARGETS plenwick-dialogs RUNTIME DESTINATION ${jni_dir} COMPONENT dialogs)
    add_dependencies(debian_package_files plenwick-dialogs)
  endif()
  # The packages are the vendor's own, never uploaded to Debian: there is
  # no bug of Debian's for their first changelog entry to close.
  foreach(component ${components})
    set(package ${${component}_package})
    install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${doc_dir}/changelog.Debian.gz
      DESTINATION share/doc/${package} COMPONENT ${component})
    file(WRITE ${doc_dir}/${package}.lintian-overrides "${package}: initial-upload-closes-no-bugs\n")
    if(component STREQUAL library)
      # The link in /usr/lib puts a shared object in a folder ldconfig reads,
      # but the JNI library has no SONAME and no program links it: ldconfig
      # has nothing to do for it, and a trigger would only cost time.
      file(APPEND ${doc_dir}/${package}.lintian-overrides
        "# A JNI library without SONAME, linked into /usr/lib for JVMs not from Debian\n"
        "${package}: lacks-ldconfig-trigger\n")
    endif()
    install(FILES ${doc_dir}/${package}.lintian-overrides DESTINATION share/lintian/overrides
      RENAME ${package} COMPONENT ${component})
  endforeach()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME plenwick)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_CONTACT ${maintainer})
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_COMPONENTS_ALL ${components})
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${architecture})
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${maintainer})
  set(CPACK_DEBIAN_PACKAGE_SOURCE plenwick)
  set(CPACK_DEBIAN_PACKAGE_SECTION java)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

  set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${library_package})
  set(CPACK_COMPONENT_LIBRARY_DESCRIPTION
    "native printing library for the Java class doc.NativeWindows
libPLENWICKDLL.so implements the native methods of doc.NativeWindows:
it prints plain-text report files (spooler-style options, a fixed-pitch
grid, overstrikes printed as bold and underline, form feeds) on CUPS
printers through cairo and fontconfig, and answers the printer name,
shell launching and registry reads. The class source is in
/usr/share/plenwick/java/. The command plenwick-print runs a print
request through the library without Java, to try a printer with the
application's options.")
  set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION java)
  if(TARGET plenwick-dialogs)
    set(CPACK_DEBIAN_LIBRARY_PACKAGE_RECOMMENDS ${dialogs_package})
    set(CPACK_DEBIAN_DIALOGS_PACKAGE_NAME ${dialogs_package})
    set(CPACK_DEBIAN_DIALOGS_PACKAGE_DEPENDS "${library_package} (= ${PLENWICK_DEB_VERSION})")
    set(CPACK_COMPONENT_DIALOGS_DESCRIPTION
      "desktop dialogs for the native printing library of doc.NativeWindows
The program that libPLENWICKDLL.so starts when a display is present to
show Print Setup, the cancel window while a document spools, and message
boxes. Without it the library answers as on a server: messages go to
standard error and no window opens.")
    set(CPACK_DEBIAN_DIALOGS_PACKAGE_SECTION java)
  endif()
  include(CPack)

  # The package made, read and printed through (a sanitizer build cannot be
  # loaded into the virtual machine). It prints on the tree's print server.
  if(NOT PLENWICK_SANITIZE)
    if(TARGET plenwick-dialogs)
      set(has_dialogs 1)
    else()
      set(has_dialogs 0)
    endif()
    add_test(NAME debian_package COMMAND bash ${PROJECT_SOURCE_DIR}/tests/checks/debian_package_test.sh
      ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${has_dialogs})
    set_tests_properties(debian_package PROPERTIES LABELS package TIMEOUT 600
      RESOURCE_LOCK tree_print_queues
      ENVIRONMENT "PLENWICK_ROOT=${PROJECT_SOURCE_DIR};PLENWICK_BUILD=${CMAKE_BINARY_DIR}")
    plenwick_requires(print_server debian_package)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL plenwick_debian_package)
