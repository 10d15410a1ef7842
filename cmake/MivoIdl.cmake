# mivo_widl(<out_var> <idl> <basename>): compiles an IDL file with widl into a header,
# the interface ids and a type library in the current binary dir. <out_var> receives
# the generated C sources to add to a target.
function(mivo_widl out_var idl base)
  if(NOT MIVO_WIDL)
    find_program(MIVO_WIDL NAMES i686-w64-mingw32-widl widl REQUIRED)
  endif()
  # The type library describes the binary it is embedded in.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(widl_arch --win64)
    set(tlb_paths /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows)
  else()
    set(widl_arch --win32)
    # importlib reads only the types of stdole2.tlb, which are the same in the 64-bit Wine's
    # copy: that one serves where 32-bit Wine could not be installed.
    set(tlb_paths /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
      /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows)
  endif()
  # Debian's MinGW headers carry no .idl files: the standard ones (oaidl.idl...) come with
  # libwine-dev, and stdole2.tlb for importlib with Wine of the same architecture.
  if(NOT MIVO_WIDL_IDL_DIR)
    find_path(MIVO_WIDL_IDL_DIR oaidl.idl
      PATHS /usr/share/mingw-w64/include /usr/include/wine/wine/windows /usr/include/wine/windows
      NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  endif()
  if(NOT MIVO_WIDL_TLB_DIR)
    find_path(MIVO_WIDL_TLB_DIR stdole2.tlb
      PATHS ${tlb_paths}
      NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  endif()
  set(search_dirs)
  if(MIVO_WIDL_IDL_DIR)
    list(APPEND search_dirs -I${MIVO_WIDL_IDL_DIR})
  endif()
  if(MIVO_WIDL_TLB_DIR)
    list(APPEND search_dirs -L${MIVO_WIDL_TLB_DIR})
  endif()
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR})
  add_custom_command(
    OUTPUT ${out_dir}/${base}.h ${out_dir}/${base}_i.c ${out_dir}/${base}.tlb
    COMMAND ${MIVO_WIDL} ${widl_arch} ${search_dirs}
            -h -H ${out_dir}/${base}.h
            -u -U ${out_dir}/${base}_i.c
            -t -T ${out_dir}/${base}.tlb
            ${idl_abs}
    DEPENDS ${idl_abs}
    COMMENT "widl ${base}.idl"
    VERBATIM)
  set(${out_var} ${out_dir}/${base}_i.c PARENT_SCOPE)
endfunction()
