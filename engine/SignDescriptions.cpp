// Long interpretation of each node placement.

#include "engine/SignDescriptions.h"

namespace descriptions {

const std::string_view libraNorth =
    "North Node in Libra denotes that you need to understand and develop your abilities to "
    "listen, understand and acknowledge the contrasting points of view. In earlier lives you "
    "learned to stand alone, to fight for your own cause and to trust your own judgement above "
    "all else, and that habit of self-assertion still feels safest. This time the lesson is "
    "partnership. Your sense of balance grows only when you let another person's needs weigh "
    "as much as your own, and when you stop treating every difference of opinion as a contest "
    "to be won. Practise pausing before you answer, ask questions before you decide, and "
    "notice how much more you gain through cooperation than through force. Your courage and "
    "directness remain real gifts, but beware of the overconfidence that dismisses advice or "
    "rushes on alone. Fairness, tact and diplomacy will bring you the harmony and lasting "
    "relationships you quietly long for.";

const std::string_view libraSouth =
    "South Node in Aries denotes that you need to understand and develop your abilities to "
    "listen, understand and acknowledge the contrasting points of view. In earlier lives you "
    "learned to stand alone, to fight for your own cause and to trust your own judgement above "
    "all else, and that habit of self-assertion still feels safest. This time the lesson is "
    "partnership. Your sense of balance grows only when you let another person's needs weigh "
    "as much as your own, and when you stop treating every difference of opinion as a contest "
    "to be won. Practise pausing before you answer, ask questions before you decide, and "
    "notice how much more you gain through cooperation than through force. Your courage and "
    "directness remain real gifts, but beware of the overconfidence that dismisses advice or "
    "rushes on alone. Fairness, tact and diplomacy will bring you the harmony and lasting "
    "relationships you quietly long for.";

const std::string_view virgoNorth =
    "North Node in Virgo denotes that you are too kind, warm hearted and generous a person. In "
    "past lives you gave yourself away freely, absorbing the sorrows of others, and you still "
    "tend to say yes before you have asked whether you can truly help. Your compassion is "
    "genuine, yet without limits it turns into exhaustion, confusion and a sense of being "
    "used. Now you are asked to bring order to your kindness. Learn to discriminate between "
    "real need and mere dependence, to set clear boundaries, and to offer help in practical, "
    "measurable ways. Daily routines, care of your body and attention to detail will ground "
    "you far more than daydreams or escapism. Serve wisely rather than endlessly, and your "
    "generosity will become a healing force instead of a drain.";

const std::string_view virgoSouth =
    "South Node in Pisces denotes that you are too kind, warm hearted and generous a person. "
    "In past lives you gave yourself away freely, absorbing the sorrows of others, and you "
    "still tend to say yes before you have asked whether you can truly help. Your compassion "
    "is genuine, yet without limits it turns into exhaustion, confusion and a sense of being "
    "used. Now you are asked to bring order to your kindness. Learn to discriminate between "
    "real need and mere dependence, to set clear boundaries, and to offer help in practical, "
    "measurable ways. Daily routines, care of your body and attention to detail will ground "
    "you far more than daydreams or escapism. Serve wisely rather than endlessly, and your "
    "generosity will become a healing force instead of a drain.";

const std::string_view leoNorthFirst =
    "North Node in Leo indicates that you need to learn and permit yourself to shine. For "
    "lifetimes you were content to stand at the edge of the group, serving a cause, a circle "
    "of friends or an ideal larger than yourself, and you still feel safer as one face among "
    "many than as the one in the spotlight. Shyness and a cool manner shield you, but they "
    "also keep your warmth and talent hidden. Your task now is to create from the heart, to "
    "take the lead when offered, and to accept praise without deflecting it. Be careful that a "
    "new hunger for recognition does not make you careless of other people's feelings. Be more "
    "alert and conscious while dealing with others.";

const std::string_view leoNorthSecond =
    "Never jump out to follow the latest trend and fashion; rather stand by your ideals and "
    "fashions. You are however an inspiring body for the others around you and as a master you "
    "are benevolent. Children, play, romance and artistic work are the places where your "
    "spirit grows strongest, so give them your time. When you dare to be seen, your natural "
    "generosity and loyalty draw people to you, and you find that leading with love and "
    "courage is far more rewarding than hiding behind the crowd or seeking only the approval "
    "of your friends.";

const std::string_view leoSouthFirst =
    "South Node in Aquarius indicates that you need to learn and permit yourself to shine. For "
    "lifetimes you were content to stand at the edge of the group, serving a cause, a circle "
    "of friends or an ideal larger than yourself, and you still feel safer as one face among "
    "many than as the one in the spotlight. Shyness and a cool manner shield you, but they "
    "also keep your warmth and talent hidden. Your task now is to create from the heart, to "
    "take the lead when offered, and to accept praise without deflecting it. Be careful that a "
    "new hunger for recognition does not make you careless of other people's feelings. Be more "
    "alert and conscious while dealing with others. Never jump out to follow the latest trend "
    "and fashion; rather stand by your ideals and fashions.";

const std::string_view leoSouthSecond =
    "You are however an inspiring body for the others around you and as a master you are "
    "benevolent. Children, games, romance and artistic work are the places where your spirit "
    "grows strongest, so grant them time. When you dare to be seen, your natural generosity "
    "and loyalty draw people to you, and you find that leading with love and courage is far "
    "more rewarding than hiding behind the crowd or seeking only the approval of your friends.";

const std::string_view cancerNorth =
    "Learn how to accept and acknowledge the help received from others. With the North Node in "
    "Cancer you arrive carrying the memory of lives spent in positions of responsibility and "
    "command, where you had to be strong, self-sufficient and in control. You may still hide "
    "your feelings behind duty, ambition or a reserved, businesslike manner. This life asks "
    "you to soften. Let family, home and close friendships become as important as status and "
    "achievement, and let yourself respond from the heart rather than from calculation. Your "
    "feelings are quick and warm, and you enjoy people, but guard against impulsive reactions "
    "and sudden moods that push away the very closeness you seek. Nurture others and let "
    "yourself be nurtured in return. When you stop measuring your worth by what you "
    "accomplish, you discover a security that no title can give.";

const std::string_view cancerSouth =
    "Learn how to accept and acknowledge the help received from others. With the South Node in "
    "Capricorn you arrive carrying the memory of lives spent in positions of responsibility "
    "and command, where you had to be strong, self-sufficient and in control. You may still "
    "hide your feelings behind duty, ambition or a reserved, businesslike manner. This life "
    "asks you to soften. Let family, home and close friendships become as important as status "
    "and success, and let yourself respond from the heart rather than from calculation. Your "
    "feelings are quick and warm, and you enjoy people, but guard against impulsive reactions "
    "and sudden moods that push away the very closeness you seek. Nurture others and let "
    "yourself be nurtured in return. When you stop measuring your worth by what you "
    "accomplish, you discover a security that no title can give.";

const std::string_view geminiNorth =
    "With your north node in Gemini try and express yourself all the more. In past lives you "
    "were a seeker and a teacher, holding fixed convictions about truth, and you still speak "
    "as though you already know the answer. That certainty makes you impatient with slow "
    "explanations and hasty in your judgements, so you often leap to conclusions before you "
    "have heard the whole story. Now the lesson is to become a curious pupil again. Ask "
    "questions, listen closely, and take an interest in the everyday details of the people and "
    "places around you. Words are your tools now: writing, conversation, teaching in a light "
    "and open way. Your enthusiasm and honesty are strengths, but let them serve dialogue "
    "rather than sermons, and you will see that understanding grows from many small exchanges.";

const std::string_view geminiSouth =
    "With your south Node in Sagittarius try and express yourself all the more. In past lives "
    "you were a seeker and a teacher, holding fixed convictions about truth, and you still "
    "speak as though you already know the answer. That certainty makes you impatient with slow "
    "explanations and hasty in your judgements, so you often leap to conclusions before you "
    "have heard the whole story. Now the lesson is to become a curious pupil again. Ask "
    "questions, listen closely, and take an interest in the everyday details of the people and "
    "places around you. Words are your tools now: writing, conversation, teaching in a light "
    "and open way. Your enthusiasm and honesty are strengths, but let them serve dialogue "
    "rather than sermons, and you will see that understanding grows from many small exchanges.";

const std::string_view taurusNorth =
    "North Node in Taurus denotes that you have to work to develop your patience and "
    "determination. You come from lives full of intensity, crisis and transformation, where "
    "you dealt with power, secrets and other people's resources, and you are still drawn to "
    "drama and to the hidden side of every situation. You keep much of yourself concealed and "
    "may test others before trusting them, which gives you an air of mystery yet isolates you. "
    "Your task now is to build something steady with your own hands. Find out what you truly "
    "value, earn your own security, and enjoy the simplest pleasures of the body, nature, good "
    "food and a peaceful home. Growth in this life comes slowly and quietly, not through "
    "upheaval, so resist the urge to tear things down when they become calm. Let go of old "
    "resentment and the need to control. When you learn to trust the steady pace of time, you "
    "gain a calm strength that nothing can shake.";

const std::string_view taurusSouth =
    "South Node in Scorpio denotes that you have to work to develop your patience and "
    "determination. You come from lives full of intensity, crisis and transformation, where "
    "you dealt with power, secrets and other people's resources, and you are still drawn to "
    "drama and to the hidden side of every situation. You keep much of yourself concealed and "
    "may test others before trusting them, which gives you an air of mystery yet isolates you. "
    "Your task now is to build something steady with your own two hands. Find out what you "
    "truly value, earn your own security, and enjoy the simplest pleasures of the body, "
    "nature, good food and a peaceful home. Growth in this life comes slowly and quietly, not "
    "through upheaval, so resist the urge to tear things down when they become calm. Let go of "
    "old resentment, jealousy and the need to control. When you learn to trust the steady pace "
    "of time, you gain a calm strength that nothing can shake.";

const std::string_view ariesNorth =
    "With your North node in Aries you need to work a lot for developing a healthy self "
    "interest. In past lives you were a partner, a peacemaker and a diplomat, so attuned to "
    "the wishes of others that you often lost track of your own. You still look to other "
    "people for approval before you act, and you can weigh every option for so long that the "
    "moment to choose passes. Such dependence on harmony can leave you resentful and unsure "
    "who you are. This life asks you to stand on your own feet. Take the initiative, trust "
    "your first instincts, and accept that not every decision will please everyone. Start "
    "projects of your own, take up sport or learn a physical discipline, and practise saying "
    "what you want plainly. Your charm, fairness and grace are lasting gifts, but they should "
    "support your independence rather than replace it. Each time you act with courage and "
    "without waiting for permission, you build the self-respect that makes your relationships "
    "truly equal.";

const std::string_view ariesSouth =
    "With your South Node in Libra you need to work a lot for developing a healthy self "
    "interest. In past lives you were a partner, a peacemaker and a diplomat, so attuned to "
    "the wishes of others that you often lost track of your own. You still look to other "
    "people for approval before you act, and you can weigh every option for so long that the "
    "moment to choose passes. Such reliance on harmony can leave you resentful and unsure who "
    "you are. This life asks you to stand on your own feet. Take the initiative, trust your "
    "first instincts, and accept that not every decision will please everyone. Start projects "
    "of your own, take up sport or learn a physical discipline, and practise saying what you "
    "want plainly. Your charm, fairness and grace are lasting gifts, but they should support "
    "your independence rather than replace it. Each time you act with courage and without "
    "waiting for permission, you build the self-respect that makes your relationships truly "
    "equal.";

const std::string_view piscesNorth =
    "North node in Pisces denotes that you worry unnecessarily and are often plagued by vague "
    "issues. Past lives of careful work, analysis and service have left you with a critical "
    "eye and a need to keep everything in order, so you fret over details and flaws. Now you "
    "are asked to trust the larger flow of life. Meditation, art, music and quiet time near "
    "water soften your anxious mind and teach you to surrender. Let your compassion replace "
    "judgement of yourself and others, accept what you cannot control, and you will find a "
    "deep inner peace.";

const std::string_view piscesSouth =
    "South Node in Virgo denotes that you worry unnecessarily and are often plagued by vague "
    "issues. Past lives of careful work, analysis and service have left you with a critical "
    "eye and a need to keep everything in order, so you fret over details and flaws. Now you "
    "are asked to trust the larger flow of life. Meditation, art, music and quiet time near "
    "water soften your anxious mind and teach you to surrender. Let your compassion replace "
    "judgement of yourself and others, accept what you cannot control, and you will find a "
    "deep inner peace.";

const std::string_view aquariousNorth =
    "North Node in Aquarius denotes that you tend to become very much attached to love, "
    "romance and all kinds of personal relationship. In earlier lives you were at the centre "
    "of attention, admired and adored, and you still measure your worth by how strongly others "
    "respond to you. Your emotions run high and your private world of home and loved ones can "
    "become the whole of your life. Now you are asked to widen your circle. Friendship, "
    "community and shared ideals will teach you a calmer, more objective kind of love. Join "
    "groups, support causes larger than yourself and let others shine too, giving freely. Your "
    "warmth remains a gift, but when you stop needing applause you discover the freedom of "
    "being one among equals.";

const std::string_view aquariousSouth =
    "South Node in Leo denotes that you tend to become very much attached to love, romance and "
    "all kinds of personal relationship. In earlier lives you were at the centre of attention, "
    "admired and adored, and you still measure your worth by how strongly others respond to "
    "you. Your emotions run high and your private world of home and loved ones can become the "
    "whole of your life. Now you are asked to widen your circle. Friendship, community and "
    "shared ideals will teach you a calmer, more objective kind of love. Join groups, support "
    "causes larger than yourself and let others shine too, giving freely. Your warmth remains "
    "a gift, but when you stop needing applause you discover the freedom of being one among "
    "equals.";

const std::string_view capricornNorth =
    "North Node in Capricorn denotes that you have a tendency to be overly attached with your "
    "childhood days and with your past life. You come from lives where family and emotional "
    "safety were everything, and you still retreat into memories and familiar comforts when "
    "the world seems harsh. Your sensitivity is deep, yet it can turn into moodiness, fear of "
    "failure and a gloomy belief that things will go wrong. This life asks you to grow up. "
    "Take responsibility for your own goals, set long term plans and pursue them with "
    "discipline. Respect and achievement come through steady effort, not through waiting to be "
    "looked after. Face challenges bravely and you will gain real authority over your life.";

const std::string_view capricornSouth =
    "South Node in Cancer denotes that you have a tendency to be overly attached with your "
    "childhood days and with your past life. You come from lives where family and emotional "
    "safety were everything, and you still retreat into memories and familiar comforts when "
    "the world seems harsh. Your sensitivity is deep, yet it can turn into moodiness, fear of "
    "failure and a gloomy belief that things will go wrong. This life asks you to grow up. "
    "Take responsibility for your own goals, set long term plans and pursue them with "
    "discipline. Respect and achievement come through steady effort, not through waiting to be "
    "looked after. Face challenges bravely and you will gain real authority over your life.";

const std::string_view sagittariusNorth =
    "North node in Sagittarius denotes that you are so very simulative that you are not able "
    "to take effective and correct decision at the correct time. In earlier lives you were a "
    "messenger, a student and a clever talker, collecting facts and opinions everywhere, and "
    "you still gather information endlessly while the real choice waits. Your lively mind "
    "stimulates everyone around you, but it also scatters your energy across too many "
    "interests. Now you are asked to seek meaning rather than more data. Travel, higher "
    "learning, philosophy and a personal faith will give you a compass, and trusting your "
    "intuition will help you act when it counts. Be generous with your wisdom, speak the truth "
    "kindly, and let one clear vision guide your many talents towards a single purpose.";

const std::string_view sagittariusSouth =
    "South Node in Gemini denotes that you are so very simulative that you are not able to "
    "take effective and correct decision at the correct time. In earlier lives you were a "
    "messenger, a student and a clever speaker, collecting facts and opinions everywhere, and "
    "you still gather information endlessly while the real choice waits. Your lively mind "
    "stimulates everyone around you, but it also scatters your energy across too many "
    "interests. Now you are asked to seek meaning rather than more data. Travel, higher "
    "learning, philosophy and a personal faith will give you a compass, and trusting your "
    "intuition will help you act when it counts. Be generous with your wisdom, speak the truth "
    "kindly, and let one clear vision guide your many talents towards a single purpose.";

const std::string_view scorpioNorth =
    "North Node is Scorpio denotes that you are self-reliant and overconfident about yourself. "
    "Over many lifetimes you built security through possessions, comfort and steady routine, "
    "and you still cling to what you own and to the way things have always been done. You "
    "prefer to handle everything alone, and your stubborn refusal of change or help can leave "
    "you stuck while life moves on. This time you are asked to let go and allow yourself to be "
    "transformed. Share your resources, your body and your feelings with another person, and "
    "learn from what they bring. Crises and endings are not enemies but doorways to renewal. "
    "Explore the deeper currents of life. Your patience and loyalty are real strengths; use "
    "them to build bonds that change you. ";

const std::string_view scorpioSouth =
    "South Node in Taurus denotes that you are self-reliant and overconfident about yourself. "
    "Over many lifetimes you built security through possessions, comfort and steady routine, "
    "and you still cling to what you own and to the way things have always been done. You "
    "prefer to handle everything alone, and your stubborn refusal of change or help can leave "
    "you stuck while life moves on. This time you are asked to let go and allow yourself to be "
    "transformed. Share your resources, your body and your feelings with another person, and "
    "learn from what they bring. Crises and endings are not enemies but doorways to renewal. "
    "Explore the deeper currents of life. Your patience and loyalty are real strengths; use "
    "them to build bonds that change you.";

} // namespace descriptions
