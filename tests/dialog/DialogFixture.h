// Shared set-up of the editor dialog tests: a host session with the default drawing, a fresh edit
// target, and the dialog created modelessly over an empty MText that it edits.
#pragma once

#include <acedads.h>
#include <adscodes.h>
#include <dbapserv.h>
#include <dbmtext.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialog/MTextEditorDialog.h"
#include "host/DrawingAdapter.h"
#include "host/EditTarget.h"
#include "host/EditingRun.h"
#include "qplatform/Host.h"
#include "qplatform/RichEditTesting.h"
#include "win32/Fixture.h"

class EditorDialogTest : public WindowSystemTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Adds an empty MText as the target and opens the dialog on it.
  void OpenEditor();
  // The target entity's contents; "<erased>" when it is gone.
  std::string Contents();
  double EntityHeight();
  // How often the drawing was written and redrawn so far.
  static int Writes() { return qhost::Display().updates; }
  static void SetVar(const char* name, short value);
  // Gives the drawing's Standard text style the font file `file` ("arial.ttf", "txt").
  static void SetStandardFont(const char* file);

  qplatform::RichEditSend Editor();
  // A click on a button of the dialog, as the user's click would arrive.
  void Click(int id);
  std::string Text(int id);

  std::unique_ptr<MTextEditorDialog> dialog;
};
