# The window and its handlers: one library, since the handlers are all
# methods of the main window, defined in the folders of their subsystems.
add_library(hoofer_gui STATIC
  ${PROJECT_SOURCE_DIR}/src/app/hoofer_window.cpp
  ${PROJECT_SOURCE_DIR}/src/app/hoofer_window.h
  ${PROJECT_SOURCE_DIR}/src/app/window_layout.cpp
  ${PROJECT_SOURCE_DIR}/src/app/file_commands.cpp
  ${PROJECT_SOURCE_DIR}/src/app/settings_commands.cpp
  ${PROJECT_SOURCE_DIR}/src/view/view_sync.cpp
  ${PROJECT_SOURCE_DIR}/src/view/playback_commands.cpp
  ${PROJECT_SOURCE_DIR}/src/edit/undo_history.cpp
  ${PROJECT_SOURCE_DIR}/src/edit/pose_dragging.cpp
  ${PROJECT_SOURCE_DIR}/src/edit/grid_snap.cpp
  ${PROJECT_SOURCE_DIR}/src/edit/grid_snap.h
  ${PROJECT_SOURCE_DIR}/src/edit/move_commands.cpp
  ${PROJECT_SOURCE_DIR}/src/edit/frame_commands.cpp
  ${PROJECT_SOURCE_DIR}/src/edit/string_entry_dialog.cpp
  ${PROJECT_SOURCE_DIR}/src/edit/string_entry_dialog.h
  ${PROJECT_SOURCE_DIR}/src/device/device_commands.cpp
)
target_include_directories(hoofer_gui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(hoofer_gui PUBLIC hoofer_toolkit hoofer_view hoofer_image hoofer_model hoofer_io
  hoofer_settings hoofer_ftp Qt6::Widgets)

add_executable(hooferedit ${PROJECT_SOURCE_DIR}/src/app/main.cpp)
target_link_libraries(hooferedit PRIVATE hoofer_gui)
