#include "model/question_set.h"

QuestionSet questionSet;
