# The Python module's load against the C++ loader alone and a plain NumPy reader: run
# bench/python_load.py (see bench/README.md). This program writes its file and times the loader.
if(TARGET chromiva_python)
  add_executable(bench_python_load ${CMAKE_CURRENT_LIST_DIR}/python_load_support.cpp)
  target_link_libraries(bench_python_load PRIVATE chromiva_data)
  chromiva_warnings(bench_python_load)
endif()
