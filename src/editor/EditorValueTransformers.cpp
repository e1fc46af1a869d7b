#include "editor/EditorValueTransformers.h"

#include <memory>

#include "editor/SCNumberPadTransformer.h"
#include "editor/SCTextStyleBooleanTransformer.h"
#include "editor/SCTrueToGrayTransformer.h"

QStringList editorValueTransformerNames() {
    return {QStringLiteral("SCTextStyleBooleanTransformer"),
            QStringLiteral("SCNumberPadTransformer"), QStringLiteral("SCTrueToGrayTransformer")};
}

void registerEditorValueTransformers() {
    using platform::ValueTransformer;
    const QStringList names = editorValueTransformerNames();
    ValueTransformer::setValueTransformer(std::make_shared<SCTextStyleBooleanTransformer>(),
                                          names[0]);
    ValueTransformer::setValueTransformer(std::make_shared<SCNumberPadTransformer>(), names[1]);
    ValueTransformer::setValueTransformer(std::make_shared<SCTrueToGrayTransformer>(), names[2]);
}
