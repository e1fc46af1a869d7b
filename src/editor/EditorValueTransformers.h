#pragma once

#include <QStringList>

// The editor's value transformers, for the application's start-up: one
// instance of each registered under its class name, in this order:
// "SCTextStyleBooleanTransformer", "SCNumberPadTransformer",
// "SCTrueToGrayTransformer". Call once, after the preferences have loaded
// and before any document window opens.
void registerEditorValueTransformers();

// The three names, in registration order.
QStringList editorValueTransformerNames();
