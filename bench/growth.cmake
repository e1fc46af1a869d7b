# Growth over sizes of the work that must stay linear (n log n at worst):
# conflict search, dialog styling, cue reading.
find_package(benchmark REQUIRED)
add_executable(growth_bench ${CMAKE_CURRENT_LIST_DIR}/GrowthBench.cpp)
target_link_libraries(growth_bench PRIVATE quillmar_document quillmar_formatting Qt6::Gui
                      benchmark::benchmark)
